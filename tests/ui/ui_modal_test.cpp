// Modal forms, message boxes, file dialogs and the error handler: scripted
// answers are used in order, and a dialog that can never close fails loudly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/file_dialog.h"
#include "ui/form.h"
#include "ui/headless/user.h"
#include "ui/services.h"

namespace {

using ui::headless::User;

struct Dialog : ui::Form {
    Dialog() : Form("CSForm")
    {
        set_border_style(ui::BorderStyle::Single);
        set_position(ui::Position::MainFormCenter);
        BtnOk.set_modal_result(ui::mr::Ok);
        BtnCancel.on_click = [this] { close(); };
        on_show = [this] { log.push_back("show"); };
        on_close = [this](ui::CloseAction& a) {
            log.push_back("close");
            EXPECT_EQ(a, ui::CloseAction::Hide);
        };
        BtnOk.on_click = [this] { log.push_back("ok " + Ecus1baud.text()); };
    }
    ui::Edit Ecus1baud{this, "Ecus1baud", "1000000"};
    ui::Button BtnOk{this, "BtnOk", "OK"};
    ui::Button BtnCancel{this, "BtnCancel", "Cancel"};
    std::vector<std::string> log;
};

struct ModalCase {
    const char* name;
    void (*steps)(User&, Dialog&);
    int result;
    std::vector<std::string> log;
};

const ModalCase kModalCases[] = {
    {"OK button's modal result",
     [](User& u, Dialog& d) {
         u.type(d.Ecus1baud, "5");
         u.click(d.BtnOk);
     },
     ui::mr::Ok,
     {"show", "ok 10000005", "close"}},
    {"cancel handler closes", [](User& u, Dialog& d) { u.click(d.BtnCancel); }, ui::mr::Cancel, {"show", "close"}},
    {"close box", [](User& u, Dialog& d) { u.close(d); }, ui::mr::Cancel, {"show", "close"}},
};

TEST(Modal, ShowModalRunsTheScriptedStepsAndReturnsTheResult)
{
    for (const ModalCase& c : kModalCases) {
        SCOPED_TRACE(c.name);
        User user;
        ui::Form main("MForm");
        Dialog d;
        main.show();
        user.in_modal("CSForm", [&](ui::Form&) { c.steps(user, d); });
        EXPECT_EQ(d.show_modal(), c.result);
        EXPECT_FALSE(d.visible());
        EXPECT_EQ(d.log, c.log);
        EXPECT_EQ(user.world().modal_loops, 1);
    }
}

TEST(Modal, ADialogThatCanNeverCloseFailsTheRun)
{
    User user;
    Dialog d;
    // No steps at all.
    EXPECT_THROW(d.show_modal(), ui::ProgramError);
    // Steps that leave it open; the close query refuses.
    d.on_close_query = [](bool& can) { can = false; };
    user.in_modal("CSForm", [&](ui::Form&) { user.click(d.BtnCancel); });
    EXPECT_THROW(d.show_modal(), ui::ProgramError);
    // Steps meant for another dialog.
    user.in_modal("AForm", nullptr);
    EXPECT_THROW(d.show_modal(), ui::ProgramError);
    EXPECT_FALSE(d.visible());
}

TEST(Modal, NestedDialogsAndKeysGoToTheInnermost)
{
    User user;
    ui::Form main("MForm");
    Dialog outer;
    ui::Form inner("AForm");
    inner.set_key_preview(true);
    inner.on_key_press = [&](char& k) {
        if (k == 27) inner.close();
    };
    outer.BtnOk.on_click = [&] { inner.show_modal(); };
    main.show();
    user.in_modal("CSForm", [&](ui::Form&) { user.click(outer.BtnOk); });
    user.in_modal("AForm", [&](ui::Form&) { user.type("\x1b"); });
    EXPECT_EQ(outer.show_modal(), ui::mr::Ok);
    EXPECT_EQ(user.world().modal_loops, 2);
}

TEST(MessageBox, AnswersAreUsedInOrderAndLogged)
{
    User user;
    user.answer_message_box(ui::mr::Yes);
    user.answer_message_box(ui::mr::No);
    EXPECT_EQ(ui::message_box("File exists. Overwrite?", "Warning ...", ui::MsgIcon::Warning, ui::MsgButtons::YesNo),
              ui::mr::Yes);
    EXPECT_EQ(ui::message_box("Again?", "Warning", ui::MsgIcon::Question, ui::MsgButtons::YesNo), ui::mr::No);
    EXPECT_THROW(ui::message_box("unasked", "Error"), ui::ProgramError);
    ASSERT_EQ(user.world().message_boxes.size(), 2u);
    EXPECT_EQ(user.world().message_boxes[0].caption, "Warning ...");
    EXPECT_EQ(user.world().message_boxes[1].icon, ui::MsgIcon::Question);
}

TEST(FileDialog, PicksOrCancelsAndLogsWhatWasAsked)
{
    User user;
    ui::SaveDialog sd("SD1");
    sd.filter = "Text file (*.txt)|*.txt|All files (*.*)|*.*";
    sd.initial_dir = "C:\\logs";
    user.pick_file("C:\\logs\\rx.txt");
    user.cancel_file_dialog();
    EXPECT_TRUE(sd.execute());
    EXPECT_EQ(sd.file_name, "C:\\logs\\rx.txt");
    EXPECT_FALSE(sd.execute());
    EXPECT_EQ(sd.file_name, "C:\\logs\\rx.txt");  // a cancel leaves the name alone
    EXPECT_THROW(sd.execute(), ui::ProgramError);
    ASSERT_EQ(user.world().file_dialogs.size(), 2u);
    EXPECT_EQ(user.world().file_dialogs[0].initial_dir, "C:\\logs");
    EXPECT_FALSE(user.world().file_dialogs[1].accepted);
}

TEST(ErrorHandler, AnEscapedExceptionIsShownWithTheTitleAndTheRunGoesOn)
{
    User user;
    ui::app().set_title("Olvex terminal");
    ui::Form f("MForm");
    ui::Button b(&f, "Btn");
    int clicks = 0;
    b.on_click = [&] {
        ++clicks;
        throw std::invalid_argument("'12x' is not a valid integer value");
    };
    f.show();
    user.answer_message_box(ui::mr::Ok);
    user.click(b);
    user.answer_message_box(ui::mr::Ok);
    user.click(b);
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(user.world().message_boxes.size(), 2u);
    EXPECT_EQ(user.world().message_boxes[0].caption, "Olvex terminal");
    EXPECT_EQ(user.world().message_boxes[0].text, "'12x' is not a valid integer value");
}

TEST(MainForm, ClosingItEndsTheApplicationOtherFormsHide)
{
    User user;
    ui::Form main("MForm");
    ui::Form tool("TXSForm", &main);
    tool.set_form_style(ui::FormStyle::StayOnTop);
    ui::app().reset_terminated();
    std::vector<std::string> log;
    tool.on_show = [&] { log.push_back("show"); };
    tool.on_hide = [&] { log.push_back("hide"); };
    main.show();
    tool.show();
    tool.show();  // already shown: no second on_show
    tool.hide();
    tool.show();
    EXPECT_TRUE(user.close(tool));
    EXPECT_FALSE(tool.visible());
    EXPECT_EQ(log, (std::vector<std::string>{"show", "hide", "show", "hide"}));
    EXPECT_FALSE(ui::app().terminated());
    EXPECT_TRUE(user.close(main));
    EXPECT_TRUE(ui::app().terminated());
    ui::app().reset_terminated();
}

}  // namespace
