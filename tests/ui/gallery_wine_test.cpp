// The gallery under Wine, driven from outside by the GUI test driver: the same
// user actions as the headless tests, and the same resulting states.
#include <gtest/gtest.h>

#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;

namespace {

constexpr char kMain[] = "Olvex gallery";

class GalleryWine : public ::testing::Test {
 protected:
    void SetUp() override
    {
        ASSERT_TRUE(gd::start(process_, gd::exe_folder() + "gallery.exe")) << gd::last_error();
        top_ = gd::find_window(kMain, 20000, process_.pid);
        ASSERT_NE(top_, nullptr) << gd::last_error();
        event_ = gd::find_control(top_, "after:Last event:");
        ASSERT_NE(event_, nullptr) << gd::last_error();
    }
    void TearDown() override
    {
        if (top_ && IsWindow(top_)) PostMessageA(top_, WM_CLOSE, 0, 0);
        if (process_.wait(10000) < 0) process_.kill();
    }

    std::string last_event() const { return gd::text_of(event_); }
    // Waits for the "Last event" label to read `want`.
    ::testing::AssertionResult event_is(const std::string& want, int timeout_ms = 5000) const
    {
        if (gd::wait_until([&] { return last_event() == want; }, timeout_ms)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "last event is \"" << last_event() << "\", expected \"" << want << "\"";
    }
    HWND control(const char* selector) const
    {
        HWND c = gd::find_control(top_, selector);
        EXPECT_NE(c, nullptr) << gd::last_error();
        return c;
    }
    void click(const char* caption) const { ASSERT_TRUE(gd::click_button(top_, caption)) << gd::last_error(); }
    void menu(const char* path) const { ASSERT_TRUE(gd::choose_menu(top_, path)) << gd::last_error(); }
    void keys(HWND w, const char* chord) const { ASSERT_TRUE(gd::press_keys(w, chord)) << gd::last_error(); }

    gd::Process process_;
    HWND top_ = nullptr;
    HWND event_ = nullptr;
};

TEST_F(GalleryWine, RadioButtonsOfOneGroupAreExclusive)
{
    HWND none = control("None"), odd = control("Odd"), even = control("Even"), text = control("Text");
    click("Odd");
    EXPECT_TRUE(event_is("RBodd click checked=1"));
    EXPECT_EQ(gd::check_state(none), BST_UNCHECKED);
    EXPECT_EQ(gd::check_state(odd), BST_CHECKED);
    EXPECT_EQ(gd::check_state(even), BST_UNCHECKED);
    click("Even");
    EXPECT_TRUE(event_is("RBeven click checked=1"));
    EXPECT_EQ(gd::check_state(odd), BST_UNCHECKED);
    EXPECT_EQ(gd::check_state(even), BST_CHECKED);
    // The radio buttons in the other group box's caption keep their own state.
    EXPECT_EQ(gd::check_state(text), BST_CHECKED);
    // Clicking the checked button again fires nothing.
    click("Press");
    ASSERT_TRUE(event_is("BtnPress click"));
    click("Even");
    click("Press");  // a marker: the click above must not have replaced the event
    Sleep(300);
    EXPECT_TRUE(event_is("BtnPress click"));
    EXPECT_EQ(gd::check_state(even), BST_CHECKED);
}

TEST_F(GalleryWine, ARadioGroupIsOneTabStopAndTheArrowsMoveInIt)
{
    HWND none = control("None"), odd = control("Odd"), even = control("Even"), flow = control("Flow control");
    const auto style = [](HWND w) { return GetWindowLongA(w, GWL_STYLE) & (WS_GROUP | WS_TABSTOP); };
    EXPECT_EQ(style(none), WS_GROUP | WS_TABSTOP);
    EXPECT_EQ(style(odd), 0);
    EXPECT_EQ(style(even), 0);
    click("Odd");
    ASSERT_TRUE(event_is("RBodd click checked=1"));
    ASSERT_TRUE(gd::focus(odd)) << gd::last_error();
    keys(top_, "Down");
    EXPECT_TRUE(event_is("RBeven click checked=1"));
    EXPECT_EQ(gd::check_state(even), BST_CHECKED);
    EXPECT_TRUE(gd::wait_until([&] { return gd::focused_control(top_) == even; }, 3000));
    keys(top_, "Tab");
    EXPECT_TRUE(gd::wait_until([&] { return gd::focused_control(top_) == flow; }, 3000));
    keys(top_, "Shift+Tab");
    EXPECT_TRUE(gd::wait_until([&] { return gd::focused_control(top_) == even; }, 3000))
        << "back to the checked button, not the group's first";
}

TEST_F(GalleryWine, CheckBoxStateHasFlippedWhenItsHandlerRuns)
{
    HWND box = control("Check me");
    click("Check me");
    EXPECT_TRUE(event_is("CBcheck click checked=1"));
    EXPECT_EQ(gd::check_state(box), BST_CHECKED);
    click("Check me");
    EXPECT_TRUE(event_is("CBcheck click checked=0"));
    EXPECT_EQ(gd::check_state(box), BST_UNCHECKED);
    // A check box in a group box's caption gap is a check box like any other.
    click("Flow control");
    EXPECT_TRUE(event_is("CBflow click checked=1"));
}

TEST_F(GalleryWine, KeyFilterDiscardsAndReplacesTypedCharacters)
{
    HWND digits = control("after:Digits:");
    ASSERT_TRUE(gd::focus(digits)) << gd::last_error();
    EXPECT_TRUE(event_is("Edigits enter"));  // the enter event fires when the field gets the focus
    ASSERT_TRUE(gd::type_text(top_, "a1b+2", digits));
    EXPECT_TRUE(gd::wait_until([&] { return gd::text_of(digits) == "102"; }, 3000)) << gd::text_of(digits);
    EXPECT_TRUE(event_is("Edigits change 102"));
}

TEST_F(GalleryWine, KeyPreviewSeesCharactersBeforeTheField)
{
    HWND digits = control("after:Digits:");
    ASSERT_TRUE(gd::focus(digits)) << gd::last_error();
    ASSERT_TRUE(gd::type_text(top_, "7\x11", digits));
    EXPECT_TRUE(event_is("form preview Ctrl+Q"));
    EXPECT_EQ(gd::text_of(digits), "7");
}

TEST_F(GalleryWine, TabMovesTheFocusInCreationOrderAndFiresEnter)
{
    HWND digits = control("after:Digits:"), ro = control("after:Read-only:");
    ASSERT_TRUE(gd::focus(digits)) << gd::last_error();
    ASSERT_TRUE(event_is("Edigits enter"));
    keys(top_, "Tab");
    EXPECT_TRUE(gd::wait_until([&] { return gd::focused_control(top_) == ro; }, 3000));
    click("Press");  // a marker, so the enter event below is a new one
    ASSERT_TRUE(event_is("BtnPress click"));
    ASSERT_TRUE(gd::focus(ro)) << gd::last_error();
    keys(top_, "Shift+Tab");
    EXPECT_TRUE(gd::wait_until([&] { return gd::focused_control(top_) == digits; }, 3000));
    EXPECT_TRUE(event_is("Edigits enter"));
}

TEST_F(GalleryWine, TextViewAnswersGetTextAndWrapsOnRequest)
{
    HWND tabs = control("class:SysTabControl32");
    ASSERT_TRUE(gd::select_tab(tabs, 2)) << gd::last_error();
    ASSERT_TRUE(event_is("PCmain change 2"));
    HWND view = control("class:OlvexTextView");
    std::string text = gd::text_of(view);
    EXPECT_EQ(text.rfind("line 1\r\nline 2\r\n", 0), 0u) << text.substr(0, 40);
    EXPECT_NE(text.find("line 200"), std::string::npos);
    EXPECT_TRUE(GetWindowLongA(view, GWL_STYLE) & WS_HSCROLL);
    click("Word wrap");
    EXPECT_TRUE(event_is("CBwrap click checked=1"));
    EXPECT_EQ(gd::text_of(view), text);  // wrapping changes rows, not the text
}

TEST_F(GalleryWine, AcceleratorsRunTheirMenuItems)
{
    keys(top_, "Ctrl+Alt+S");
    EXPECT_TRUE(event_is("MMauto click checked=1"));
    EXPECT_TRUE(gd::menu_item(top_, "Options/Auto scroll").checked);
    keys(top_, "Shift+Del");
    EXPECT_TRUE(event_is("MMclear click"));
    keys(top_, "Alt+C");
    EXPECT_TRUE(event_is("MMconnect click"));
    keys(top_, "F1");
    ASSERT_TRUE(gd::answer_message_box("Question", "Yes")) << gd::last_error();
    EXPECT_TRUE(event_is("answer 6"));
}

TEST_F(GalleryWine, MenuShowsAcceleratorsAndKeepsCheckAndRadioMarks)
{
    gd::MenuItem autoscroll = gd::menu_item(top_, "Options/Auto scroll");
    ASSERT_TRUE(autoscroll.found) << gd::last_error();
    EXPECT_EQ(autoscroll.accelerator, "Ctrl+Alt+S");
    EXPECT_FALSE(autoscroll.checked);
    EXPECT_EQ(gd::menu_item(top_, "Options/Clear").accelerator, "Shift+Del");
    menu("Options/Auto scroll");
    EXPECT_TRUE(event_is("MMauto click checked=1"));
    EXPECT_TRUE(gd::menu_item(top_, "Options/Auto scroll").checked);
    menu("Options/Auto scroll");
    EXPECT_TRUE(event_is("MMauto click checked=0"));
    EXPECT_FALSE(gd::menu_item(top_, "Options/Auto scroll").checked);

    EXPECT_TRUE(gd::menu_item(top_, "Options/CR").checked);
    EXPECT_TRUE(gd::menu_item(top_, "Options/CR").radio);
    menu("Options/LF");
    EXPECT_TRUE(event_is("MMlf click checked=1"));
    EXPECT_FALSE(gd::menu_item(top_, "Options/CR").checked);
    EXPECT_TRUE(gd::menu_item(top_, "Options/LF").checked);
    menu("Options/LF");  // a checked radio item stays checked
    EXPECT_TRUE(gd::menu_item(top_, "Options/LF").checked);

    EXPECT_FALSE(gd::menu_item(top_, "Options/Disabled item").enabled);
    EXPECT_FALSE(gd::choose_menu(top_, "Options/Disabled item"));
}

TEST_F(GalleryWine, MessageBoxReturnsTheButtonTheUserChose)
{
    menu("Help/Ask...");
    HWND box = nullptr;
    ASSERT_TRUE(gd::wait_until([&] { return (box = FindWindowA("#32770", "Question")) != nullptr; }, 5000));
    EXPECT_EQ(gd::message_box_text(box), "Really?");
    ASSERT_TRUE(gd::answer_message_box("Question", "No")) << gd::last_error();
    EXPECT_TRUE(event_is("answer 7"));
}

TEST_F(GalleryWine, ErrorHandlerShowsTheEscapedExceptionsMessage)
{
    click("Throw");
    HWND box = nullptr;
    ASSERT_TRUE(gd::wait_until([&] { return (box = FindWindowA("#32770", kMain)) != nullptr; }, 5000));
    EXPECT_EQ(gd::message_box_text(box), "Gallery error");
    ASSERT_TRUE(gd::answer_message_box(kMain, "OK")) << gd::last_error();
    click("Press");  // the program goes on
    EXPECT_TRUE(event_is("BtnPress click"));
}

TEST_F(GalleryWine, ModalDialogDisablesItsOwnerAndReturnsItsResult)
{
    click("Modal...");
    HWND dlg = gd::find_window("Gallery dialog", 5000, process_.pid);
    ASSERT_NE(dlg, nullptr) << gd::last_error();
    EXPECT_FALSE(IsWindowEnabled(top_));
    HWND note = gd::find_control(dlg, "class:Edit");
    ASSERT_TRUE(gd::wait_until([&] { return gd::focused_control(dlg) == note; }, 3000));  // the first field
    ASSERT_TRUE(gd::type_text(dlg, "hi"));
    keys(dlg, "Enter");  // the default button
    EXPECT_TRUE(event_is("modal result 1 note hi"));
    EXPECT_TRUE(gd::wait_until([&] { return !IsWindowVisible(dlg); }, 3000));
    EXPECT_TRUE(IsWindowEnabled(top_));

    click("Modal...");
    ASSERT_TRUE(gd::wait_until([&] { return IsWindowVisible(dlg) != 0; }, 5000));
    keys(dlg, "Esc");                                 // the cancel button
    EXPECT_TRUE(event_is("modal result 2 note hi"));  // hidden, not destroyed: the text stays

    click("Modal...");
    ASSERT_TRUE(gd::wait_until([&] { return IsWindowVisible(dlg) != 0; }, 5000));
    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(event_is("modal result 2 note hi"));
    EXPECT_TRUE(IsWindow(dlg));
}

TEST_F(GalleryWine, ModelessWindowHidesInsteadOfBeingDestroyed)
{
    click("Tool window");
    HWND tool = gd::find_window("Gallery tool window", 5000, process_.pid);
    ASSERT_NE(tool, nullptr) << gd::last_error();
    EXPECT_TRUE(GetWindowLongA(tool, GWL_EXSTYLE) & WS_EX_TOPMOST);
    PostMessageA(tool, WM_CLOSE, 0, 0);
    EXPECT_TRUE(gd::wait_until([&] { return !IsWindowVisible(tool); }, 3000));
    EXPECT_TRUE(IsWindow(tool));
    click("Tool window");
    EXPECT_TRUE(gd::wait_until([&] { return IsWindowVisible(tool) != 0; }, 3000));
}

TEST_F(GalleryWine, ToggleToolButtonStaysDown)
{
    ASSERT_TRUE(gd::click_tool(top_, "Hold")) << gd::last_error();
    EXPECT_TRUE(event_is("TBhold click down=1"));
    EXPECT_EQ(gd::tool_checked(top_, "Hold"), 1);
    ASSERT_TRUE(gd::click_tool(top_, "Connect")) << gd::last_error();
    EXPECT_TRUE(event_is("TBconnect click"));
    EXPECT_EQ(gd::tool_checked(top_, "Hold"), 1);
    ASSERT_TRUE(gd::click_tool(top_, "Hold")) << gd::last_error();
    EXPECT_TRUE(event_is("TBhold click down=0"));
    EXPECT_EQ(gd::tool_checked(top_, "Hold"), 0);
}

TEST_F(GalleryWine, ComboBoxPageControlAndStatusBar)
{
    HWND combo = control("after:Combo:");
    ASSERT_TRUE(gd::choose_combo(combo, 2)) << gd::last_error();
    EXPECT_TRUE(event_is("CBlist change 2 Three"));
    EXPECT_EQ(gd::text_of(combo), "Three");

    HWND tabs = control("class:SysTabControl32");
    ASSERT_TRUE(gd::select_tab(tabs, 1)) << gd::last_error();
    EXPECT_TRUE(event_is("PCmain change 1"));
    EXPECT_EQ(gd::tab_index(tabs), 1);
    EXPECT_TRUE(IsWindowVisible(control("Panel")));

    HWND bar = control("class:msctls_statusbar32");
    EXPECT_EQ(gd::status_panel_count(bar), 3);
    EXPECT_EQ(gd::status_text(bar, 0), "PCmain change 1");
    EXPECT_EQ(gd::status_text(bar, 2), "Olvex");
}

TEST_F(GalleryWine, UpDownArrowsStepTheJoinedEdit)
{
    HWND arrows = control("class:msctls_updown32"), count = control("after:Count:");
    EXPECT_EQ(gd::text_of(count), "3");
    RECT r{};
    GetClientRect(arrows, &r);
    ASSERT_TRUE(gd::click_at(arrows, r.right / 2, r.bottom / 4));
    EXPECT_TRUE(event_is("UDcount 4"));
    EXPECT_EQ(gd::text_of(count), "4");
    ASSERT_TRUE(gd::click_at(arrows, r.right / 2, r.bottom * 3 / 4));
    ASSERT_TRUE(gd::click_at(arrows, r.right / 2, r.bottom * 3 / 4));
    EXPECT_TRUE(event_is("UDcount 2"));
    EXPECT_EQ(gd::text_of(count), "2");
}

TEST_F(GalleryWine, PostedClickRunsAfterTheCurrentHandler)
{
    click("Post click");
    // Run inside the handler, the posted click would have been overwritten.
    EXPECT_TRUE(event_is("BtnPress click"));
}

TEST_F(GalleryWine, TimerTicksAndMinimumSizeHolds)
{
    HWND bar = control("class:msctls_statusbar32");
    std::string first = gd::status_text(bar, 1);
    EXPECT_TRUE(gd::wait_until([&] { return gd::status_text(bar, 1) != first; }, 3000)) << first;
    MINMAXINFO mm{};
    SendMessageA(top_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mm));
    EXPECT_EQ(mm.ptMinTrackSize.x, 400);
    EXPECT_EQ(mm.ptMinTrackSize.y, 300);
}

TEST_F(GalleryWine, SaveDialogHandsBackTheChosenName)
{
    menu("File/Save...");
    ASSERT_TRUE(gd::fill_file_dialog("Save gallery text", "C:\\gallery_test.txt", 10000)) << gd::last_error();
    EXPECT_TRUE(event_is("save C:\\gallery_test.txt"));
}

}  // namespace
