// Typing and focus: key filters that discard or change characters, the form's
// key preview, clipboard keys, Enter/Escape/Tab, and enter events.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "numtext/number_text.h"
#include "platform/clipboard.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/headless/user.h"
#include "ui/label.h"
#include "ui/radio_button.h"

namespace {

using ui::headless::User;

void decimal_filter(char& k)
{
    if (!(k >= '0' && k <= '9') && k != 8) k = 0;
}

void hex_upper_filter(char& k)
{
    if (k >= 'a' && k <= 'f') k = static_cast<char>(k - 'a' + 'A');
    if (!(k >= '0' && k <= '9') && !(k >= 'A' && k <= 'F') && k != 8) k = 0;
}

TEST(KeyFilter, DiscardsOrChangesCharactersBeforeTheFieldSeesThem)
{
    struct Case {
        const char* name;
        void (*filter)(char&);
        std::string start;
        std::string typed;
        std::string clipboard;
        std::string expected;
        int changes;
    };
    const Case cases[] = {
        {"digits pass", decimal_filter, "", "12a3", "", "123", 3},
        {"backspace passes", decimal_filter, "45", "\b\b\b7", "", "7", 3},
        {"paste is dropped by a digit filter", decimal_filter, "1", "\x16", "999", "1", 0},
        {"hex letters upper-cased", hex_upper_filter, "", "0dZf", "", "0DF", 3},
        {"no filter: paste first line", nullptr, "a", "\x16", "xy\r\nz", "axy", 1},
        {"no filter: cut selection", nullptr, "abc", "\x01\x18", "", "", 1},
        {"enter and escape do nothing in a field", nullptr, "a", "\r\x1b", "", "a", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        User user;
        ui::Form f("KeyForm");
        ui::Edit e(&f, "Eidec", c.start);
        if (c.filter) e.on_key_press = [fn = c.filter](char& k) { fn(k); };
        int changes = 0;
        e.on_change = [&] { ++changes; };
        f.show();
        if (!c.clipboard.empty()) ui::set_clipboard_text(c.clipboard);
        user.focus(e);
        e.set_selection(static_cast<int>(c.start.size()), 0);
        user.type(c.typed);
        EXPECT_EQ(e.text(), c.expected);
        EXPECT_EQ(changes, c.changes);
    }
}

TEST(KeyPreview, TheFormSeesEachCharacterFirstAndMayDiscardIt)
{
    User user;
    ui::Form f("PreviewForm");
    ui::Edit e(&f, "E");
    f.set_key_preview(true);
    std::vector<std::string> log;
    f.on_key_press = [&](char& k) {
        log.push_back(std::string("form ") + k);
        if (k == 'x') k = 0;    // eaten by the form
        if (k == 'u') k = 'U';  // changed for the field
    };
    e.on_key_press = [&](char& k) { log.push_back(std::string("edit ") + k); };
    f.show();
    user.type(e, "axu");
    EXPECT_EQ(e.text(), "aU");
    EXPECT_EQ(log, (std::vector<std::string>{"form a", "edit a", "form x", "form u", "edit U"}));
    // Without key preview the form hears nothing.
    f.set_key_preview(false);
    log.clear();
    user.type("b");
    EXPECT_EQ(log, (std::vector<std::string>{"edit b"}));
}

TEST(KeyPreview, KeysReachTheFormItselfWhenNothingHasFocus)
{
    User user;
    ui::Form about("AForm");
    ui::Label label(&about, "Label1", "Olvex terminal");
    about.set_key_preview(true);
    int closes = 0;
    about.on_key_press = [&](char& k) {
        if (k == 27) ++closes;
    };
    about.show();
    ASSERT_EQ(about.active_control(), nullptr);
    user.type(
        "\r\x1b"
        "a");
    EXPECT_EQ(closes, 1);
}

struct FocusForm : ui::Form {
    FocusForm() : Form("FocusForm")
    {
        for (ui::Edit* e : {&Edec, &Ehex, &Ebin}) {
            e->on_enter = [this, e] { log.push_back("enter " + e->name()); };
            e->on_exit = [this, e] { log.push_back("exit " + e->name()); };
            e->on_click = [this, e] { log.push_back("click " + e->name()); };
        }
    }
    ui::Edit Edec{this, "Edec"};
    ui::Edit Ehex{this, "Ehex"};
    ui::Edit Ebin{this, "Ebin"};
    std::vector<std::string> log;
};

TEST(EnterEvents, FireWhenTheFocusArrivesByAnyRoute)
{
    User user;
    FocusForm f;
    f.show();  // the first tab stop gets the focus
    EXPECT_EQ(f.active_control(), &f.Edec);
    f.log.clear();

    user.click(f.Ehex);         // a click focuses first
    user.click(f.Ehex);         // already focused: no second enter
    user.type("\t");            // Tab moves on
    f.Edec.set_focus();         // code moves it too, as Windows does
    f.Ebin.set_visible(false);  // hidden: out of the tab order
    user.type("\t");
    f.Edec.set_enabled(false);
    EXPECT_FALSE(f.Edec.set_focus());
    EXPECT_EQ(f.log, (std::vector<std::string>{"exit Edec", "enter Ehex", "click Ehex", "click Ehex", "exit Ehex",
                                               "enter Ebin", "exit Ebin", "enter Edec", "exit Edec", "enter Ehex"}));
}

TEST(EnterEvents, TabSelectsTheWholeFieldAClickPlacesTheCaret)
{
    User user;
    FocusForm f;
    f.Edec.set_text("123");
    f.Ehex.set_text("7B");
    f.show();
    user.type("\t");  // keyboard: the new text replaces the old
    user.type("FF");
    EXPECT_EQ(f.Ehex.text(), "FF");
    user.click(f.Edec);  // mouse: typing appends
    user.type("4");
    EXPECT_EQ(f.Edec.text(), "1234");
    f.Ebin.set_auto_select(false);
    f.Ebin.set_text("01");
    f.Ebin.set_selection(2, 0);
    f.Ebin.set_focus();
    user.type("1");
    EXPECT_EQ(f.Ebin.text(), "011");
}

TEST(DialogKeys, EnterClicksTheDefaultButtonEscapeTheCancelButton)
{
    User user;
    ui::Form f("DlgForm");
    ui::Edit e(&f, "E");
    ui::Button ok(&f, "BtnOk", "OK");
    ui::Button cancel(&f, "BtnCancel", "Cancel");
    ok.set_default(true);
    cancel.set_cancel(true);
    std::vector<std::string> log;
    ok.on_click = [&] { log.push_back("ok"); };
    cancel.on_click = [&] { log.push_back("cancel"); };
    e.on_key_press = [&](char& k) { log.push_back("key " + std::to_string(k)); };
    f.show();
    user.type(e, "\r\x1b");
    user.focus(cancel);
    user.type("\r");  // a focused button takes Enter itself
    EXPECT_EQ(log, (std::vector<std::string>{"ok", "cancel", "cancel"}));
}

TEST(DialogKeys, ARadioGroupIsOneTabStopAndTheArrowsGoRoundIt)
{
    User user;
    ui::Form f("RadioForm");
    ui::Edit before(&f, "Before");
    ui::RadioButton r1(&f, "R1"), r2(&f, "R2"), r3(&f, "R3");
    ui::Edit after(&f, "After");
    std::vector<std::string> clicks;
    for (ui::RadioButton* r : {&r1, &r2, &r3}) r->on_click = [&clicks, r] { clicks.push_back(r->name()); };
    f.show();
    user.type("\t");
    EXPECT_TRUE(r1.focused()) << "none checked: the first button";
    user.press("Up");  // round to the last, checking it
    EXPECT_TRUE(r3.focused() && r3.checked());
    r2.set_enabled(false);
    user.press("Down");
    user.press("Right");  // past the disabled one
    EXPECT_TRUE(r3.focused() && r3.checked());
    user.type("\t");
    EXPECT_TRUE(after.focused());
    user.press("Shift+Tab");
    EXPECT_TRUE(r3.focused()) << "back to the checked button";
    user.press("Shift+Tab");
    EXPECT_TRUE(before.focused());
    EXPECT_EQ(clicks, (std::vector<std::string>{"R3", "R1", "R3"}));
}

TEST(Clipboard, CopyFromReadOnlyFieldWorksTypingDoesNot)
{
    User user;
    ui::Form f("ClipForm");
    ui::Edit e(&f, "Eivarlen", "1234");
    e.set_read_only(true);
    f.show();
    user.focus(e);
    user.press("Ctrl+A");
    user.press("Ctrl+C");
    user.type("9\b");
    EXPECT_EQ(e.text(), "1234");
    EXPECT_EQ(ui::clipboard_text(), "1234");
}

TEST(Clipboard, NumberTextCopiesAndWindowsPasteShareOneClipboard)
{
    User user;
    ui::Form f("ClipForm");
    ui::Edit e(&f, "Eidec", "");
    f.show();
    ASSERT_EQ(CopyTextToClipboard("-0x7F"), clipboard_done);
    EXPECT_EQ(ui::clipboard_text(), "-0x7F");
    user.focus(e);
    user.press("Ctrl+V");
    EXPECT_EQ(e.text(), "-0x7F");
    // And back: what a window copies is what the number library's clipboard holds.
    ASSERT_TRUE(ui::set_clipboard_text("0b0101 "));
    EXPECT_EQ(clipboard_get_text(), "0b0101 ");
}

}  // namespace

namespace {

TEST(CaretKeys, MoveSelectAndDeleteInAField)
{
    struct Case {
        const char* name;
        std::vector<const char*> keys;
        std::string typed;
        std::string expected;
        int changes;
    };
    const Case cases[] = {
        {"home then type inserts in front", {"Home"}, "0", "0123", 1},
        {"left twice then delete", {"End", "Left", "Left", "Del"}, "", "13", 1},
        {"shift selects, typing replaces", {"Home", "Shift+Right", "Shift+Right"}, "9", "93", 1},
        {"delete at the end does nothing", {"End", "Del"}, "", "123", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        User user;
        ui::Form f("CaretForm");
        ui::Edit e(&f, "Ebeg", "123");
        int changes = 0;
        e.on_change = [&] { ++changes; };
        f.show();
        user.click(e);
        for (const char* k : c.keys) user.press(k);
        user.type(c.typed);
        EXPECT_EQ(e.text(), c.expected);
        EXPECT_EQ(changes, c.changes);
    }
}

TEST(Application, RunShowsTheMainFormAndRunsWhatItPosted)
{
    User user;
    ui::Form main("MForm");
    std::vector<std::string> log;
    main.on_show = [&] {
        log.push_back("FormShow");
        ui::post([&] { log.push_back("posted"); });
    };
    ui::app().reset_terminated();
    ui::app().run();
    EXPECT_TRUE(main.visible());
    EXPECT_EQ(log, (std::vector<std::string>{"FormShow", "posted"}));
    EXPECT_EQ(ui::app().main_form(), &main);
}

}  // namespace
