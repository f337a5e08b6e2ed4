// Timers on the virtual clock and posted actions: firing order, restarts,
// and "after the current handler" semantics.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/form.h"
#include "ui/headless/user.h"
#include "ui/services.h"
#include "ui/timer.h"

namespace {

using ui::headless::User;

TEST(Timers, FireInTimeOrderAndRestartWhenChanged)
{
    struct Case {
        const char* name;
        void (*setup)(ui::Timer& a, ui::Timer& b, std::vector<std::string>& log, User& u);
        long long wait;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"two periods interleave; ties go to the older timer",
         [](ui::Timer&, ui::Timer&, std::vector<std::string>&, User&) {},
         300,
         {"a@100", "b@150", "a@200", "a@300", "b@300"}},
        {"disabled in its own handler fires once",
         [](ui::Timer& a, ui::Timer& b, std::vector<std::string>&, User&) {
             b.set_enabled(false);
             auto prev = a.on_timer;
             a.on_timer = [&a, prev] {
                 prev();
                 a.set_enabled(false);
             };
         },
         500,
         {"a@100"}},
        {"a new interval counts from the change",
         [](ui::Timer& a, ui::Timer& b, std::vector<std::string>&, User& u) {
             b.set_enabled(false);
             u.wait(50);
             a.set_interval(150);  // due at 200, not 150
         },
         200,
         {"a@200"}},
        {"handler lengthens its own interval",
         [](ui::Timer& a, ui::Timer& b, std::vector<std::string>&, User&) {
             b.set_enabled(false);
             auto prev = a.on_timer;
             a.on_timer = [&a, prev] {
                 prev();
                 a.set_interval(a.interval() == 100 ? 150 : 225);
             };
         },
         500,
         {"a@100", "a@250", "a@475"}},
        {"interval 0 never fires",
         [](ui::Timer& a, ui::Timer& b, std::vector<std::string>&, User&) {
             a.set_interval(0);
             b.set_enabled(false);
         },
         1000,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        User user;
        std::vector<std::string> log;
        ui::Timer a("Timer1", 100, true);
        ui::Timer b("Timer2", 150, true);
        auto stamp = [&](const char* n) {
            return [&log, &user, n] { log.push_back(std::string(n) + "@" + std::to_string(user.world().now())); };
        };
        a.on_timer = stamp("a");
        b.on_timer = stamp("b");
        c.setup(a, b, log, user);
        user.wait(c.wait - user.world().now());
        EXPECT_EQ(log, c.expected);
    }
}

TEST(Posting, PostedActionsRunAfterTheHandlerInPostingOrder)
{
    User user;
    ui::Form f("TXSForm");
    ui::ComboBox msg(&f, "CBmsg", ui::ComboStyle::DropDown);
    ui::Button send(&f, "BtnSend", "Send");
    std::vector<std::string> log;
    msg.on_key_press = [&](char& k) {
        log.push_back("key " + std::to_string(k));
        if (k == 13) {
            ui::post_click(send);
            ui::post([&] {
                log.push_back("second post");
                ui::post([&] { log.push_back("post from a post"); });
            });
        }
        log.push_back("key handler ends");
    };
    send.on_click = [&] { log.push_back("send " + msg.text()); };
    f.show();
    user.type(msg, "hi\r");
    EXPECT_EQ(log, (std::vector<std::string>{"key 104", "key handler ends", "key 105", "key handler ends", "key 13",
                                             "key handler ends", "send hi", "second post", "post from a post"}));
    EXPECT_FALSE(ui::app().has_posted());
}

TEST(Posting, APostedClickOnADisabledButtonDoesNothingAndErrorsDoNotStopTheQueue)
{
    User user;
    ui::Form f("MForm");
    ui::Button b(&f, "BtnTxEOL");
    int clicks = 0;
    b.on_click = [&] { ++clicks; };
    std::vector<std::string> log;
    ui::app().on_exception = [&](const std::exception& e) { log.push_back(e.what()); };
    f.show();
    b.set_enabled(false);
    ui::post_click(b);
    ui::post([] { throw std::runtime_error("boom"); });
    ui::post([&] { log.push_back("after"); });
    EXPECT_EQ(user.run_posted(), 3);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"boom", "after"}));
    ui::app().on_exception = nullptr;
}

TEST(Posting, TimersSeeWhatWasPostedBeforeThem)
{
    User user;
    ui::Timer t("Timer1", 100, true);
    std::vector<std::string> log;
    t.on_timer = [&] {
        log.push_back("tick");
        ui::post([&] { log.push_back("posted by tick"); });
    };
    ui::post([&] { log.push_back("posted first"); });
    user.wait(200);
    EXPECT_EQ(log, (std::vector<std::string>{"posted first", "tick", "posted by tick", "tick", "posted by tick"}));
}

}  // namespace
