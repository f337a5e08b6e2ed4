// Buttons, check boxes, radio groups, combo boxes, up-downs and layout: which
// actions fire which events, in which order, with which state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/page_control.h"
#include "ui/headless/user.h"
#include "ui/radio_button.h"
#include "ui/status_bar.h"
#include "ui/tool_bar.h"
#include "ui/up_down.h"

namespace {

using ui::headless::User;

struct RadioForm : ui::Form {
    RadioForm() : Form("RadioForm")
    {
        set_client_size(300, 200);
        for (RadioButton* r : {&RBa, &RBb, &RBc, &RBx})
            r->on_click = [this, r] { log.push_back(r->name() + (r->checked() ? "+" : "-")); };
    }
    using RadioButton = ui::RadioButton;
    ui::GroupBox Group{this, "Group", " Mode "};
    RadioButton RBa{&Group, "RBa", "a"};
    RadioButton RBb{&Group, "RBb", "b"};
    RadioButton RBc{&Group, "RBc", "c"};
    RadioButton RBx{this, "RBx", "other group"};  // another parent, another group
    std::vector<std::string> log;

    std::string states() const
    {
        std::string s;
        for (const RadioButton* r : {&RBa, &RBb, &RBc, &RBx}) s += r->checked() ? '1' : '0';
        return s;
    }
};

TEST(RadioGroup, ClicksKeepExactlyOneCheckedPerParent)
{
    struct Case {
        const char* name;
        std::vector<std::string> clicks;  // "!x" sets x in code, "-b" disables b first
        std::string states;               // RBa RBb RBc RBx
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"first click checks", {"RBa"}, "1000", {"RBa+"}},
        {"second unchecks first", {"RBa", "RBb"}, "0100", {"RBa+", "RBb+"}},
        {"click on checked fires nothing", {"RBb", "RBb"}, "0100", {"RBb+"}},
        {"other parent is its own group", {"RBa", "RBx"}, "1001", {"RBa+", "RBx+"}},
        {"code sets silently", {"!RBc", "RBa"}, "1000", {"RBa+"}},
        {"disabled ignores click", {"RBa", "-RBb", "RBb"}, "1000", {"RBa+"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        User user;
        RadioForm f;
        f.show();
        for (const std::string& step : c.clicks) {
            auto* r = ui::find_as<ui::RadioButton>(f, step.substr(step[0] == '!' || step[0] == '-'));
            ASSERT_NE(r, nullptr);
            if (step[0] == '!')
                r->set_checked(true);
            else if (step[0] == '-')
                r->set_enabled(false);
            else
                user.click(*r);
        }
        EXPECT_EQ(f.states(), c.states);
        EXPECT_EQ(f.log, c.events);
    }
}

struct ToggleForm : ui::Form {
    ToggleForm() : Form("ToggleForm")
    {
        CB.on_click = [this] { log.push_back(std::string("CB ") + (CB.checked() ? "on" : "off")); };
        TB.set_toggle(true);
        TB.on_click = [this] { log.push_back(std::string("TB ") + (TB.down() ? "down" : "up")); };
        Btn.on_click = [this] { log.push_back("Btn"); };
    }
    ui::CheckBox CB{this, "CB", "check"};
    ui::ToolButton TB{this, "TB", "From keyboard"};
    ui::Button Btn{this, "Btn", "Go"};
    std::vector<std::string> log;
};

TEST(Toggles, StateFlipsBeforeTheHandlerAndCodeNeverFires)
{
    User user;
    ToggleForm f;
    f.show();
    user.click(f.CB);
    user.click(f.CB);
    f.CB.set_checked(true);  // silent
    user.click(f.CB);
    user.click(f.TB);
    f.TB.set_down(false);  // silent
    user.click(f.TB);
    f.Btn.set_enabled(false);
    user.click(f.Btn);
    f.Btn.set_enabled(true);
    f.set_enabled(false);  // a disabled parent disables the tree
    user.click(f.Btn);
    EXPECT_EQ(f.log, (std::vector<std::string>{"CB on", "CB off", "CB off", "TB down", "TB down"}));
    EXPECT_FALSE(f.CB.checked());
    EXPECT_TRUE(f.TB.down());
}

TEST(ComboBox, UserPicksFireChangeCodeDoesNot)
{
    User user;
    ui::Form f("ComboForm");
    ui::ComboBox list(&f, "CBbaud");
    ui::ComboBox hist(&f, "CBmsg", ui::ComboStyle::DropDown);
    int changes = 0;
    list.on_change = [&] { ++changes; };
    list.set_items({"110", "300", "Custom 1"});
    f.show();

    list.set_item_index(1);
    EXPECT_EQ(list.text(), "300");
    EXPECT_EQ(changes, 0);
    user.select(list, "Custom 1");
    EXPECT_EQ(list.item_index(), 2);
    EXPECT_EQ(list.text(), "Custom 1");
    EXPECT_EQ(changes, 1);
    list.insert_item(0, "75");  // the selection follows its item
    EXPECT_EQ(list.item_index(), 3);
    list.delete_item(3);
    EXPECT_EQ(list.item_index(), -1);
    EXPECT_EQ(list.text(), "");

    // An editable combo: typed text matching an item selects it.
    hist.set_items({"hello", "world"});
    user.type(hist, "wor");
    EXPECT_EQ(hist.item_index(), -1);
    user.type("ld");
    EXPECT_EQ(hist.text(), "world");
    EXPECT_EQ(hist.item_index(), 1);
}

TEST(UpDown, ArrowsStepWithinRangeFromTheEditText)
{
    struct Case {
        int min, max, pos;
        bool wrap;
        std::string edit_text;  // what the user left in the edit before the click
        ui::UpDownButton arrow;
        int expected;
    };
    const Case cases[] = {
        {1, 8, 1, false, "1", ui::UpDownButton::Up, 2},    {1, 8, 8, false, "8", ui::UpDownButton::Up, 8},
        {1, 8, 1, false, "1", ui::UpDownButton::Down, 1},  {1, 8, 8, true, "8", ui::UpDownButton::Up, 1},
        {1, 8, 1, false, "5", ui::UpDownButton::Up, 6},     // reads the edit first
        {1, 8, 3, false, "junk", ui::UpDownButton::Up, 4},  // unreadable: keeps its own
        {1, 8, 3, false, "99", ui::UpDownButton::Down, 7},  // clamped, then stepped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edit_text);
        User user;
        ui::Form f("UDForm");
        ui::Edit e(&f, "Eivarlen");
        ui::UpDown ud(&f, "UDivarlen");
        ud.set_associate(&e);
        ud.set_range(c.min, c.max);
        ud.set_position(c.pos);
        ud.set_wrap(c.wrap);
        std::vector<ui::UpDownButton> clicks;
        ud.on_click_button = [&](ui::UpDownButton b) { clicks.push_back(b); };
        f.show();
        e.set_text(c.edit_text);
        user.press_arrow(ud, c.arrow);
        EXPECT_EQ(ud.position(), c.expected);
        EXPECT_EQ(e.text(), std::to_string(c.expected));
        EXPECT_EQ(clicks, std::vector<ui::UpDownButton>{c.arrow});
    }
}

TEST(Layout, AlignedAndAnchoredChildrenFollowTheForm)
{
    User user;
    ui::Form f("LayoutForm");
    ui::Button early(&f, "BtnOk");
    early.set_bounds(600, 470, 75, 25);  // placed before the form has a size
    early.set_anchors({false, false, true, true});
    f.set_client_size(716, 504);
    EXPECT_EQ(early.bounds(), (ui::Rect{600, 470, 675, 495}));
    ui::ToolBar bar(&f, "Bevel1");
    bar.set_bounds(0, 0, 716, 42);
    bar.set_align(ui::Align::Top);
    ui::StatusBar sb(&f, "SB");
    ui::Control pages(&f, "PCd", ui::ControlKind::Custom);
    pages.set_align(ui::Align::Client);
    ui::ToolButton right(&bar, "BtnKeyboard");
    right.set_bounds(630, 2, 81, 38);
    right.set_anchors({false, true, true, false});
    int resizes = 0;
    sb.on_resize = [&] { ++resizes; };
    f.show();

    user.resize(f, 816, 604);
    EXPECT_EQ(bar.bounds(), (ui::Rect{0, 0, 816, 42}));
    EXPECT_EQ(sb.bounds(), (ui::Rect{0, 585, 816, 604}));
    EXPECT_EQ(pages.bounds(), (ui::Rect{0, 42, 816, 585}));
    EXPECT_EQ(right.bounds(), (ui::Rect{730, 2, 811, 40}));
    EXPECT_EQ(early.bounds(), (ui::Rect{700, 570, 775, 595}));
    EXPECT_EQ(resizes, 1);
}

}  // namespace

namespace {

TEST(PageControl, OnlyTheActivePageShowsAndOnlyTabClicksFireChange)
{
    ui::headless::User user;
    ui::Form f("MForm");
    f.set_client_size(716, 504);
    ui::PageControl pcd(&f, "PCd");
    pcd.set_bounds(0, 42, 716, 443);
    ui::TabSheet text(pcd, "TabSheet1", "Text");
    ui::TabSheet hex(pcd, "TabSheet2", "HEX");
    ui::TabSheet info(pcd, "TSinfo", "Info");
    ui::Edit inside(&hex, "Eivarlen");
    int changes = 0;
    pcd.on_change = [&] { ++changes; };
    EXPECT_EQ(pcd.active_page_index(), 0);  // the first page added
    pcd.set_active_page_index(1);
    f.show();
    EXPECT_TRUE(inside.showing());
    EXPECT_FALSE(info.showing());
    EXPECT_EQ(changes, 0);
    user.select_tab(pcd, 2);
    user.select_tab(pcd, 2);
    EXPECT_EQ(pcd.active_page(), &info);
    EXPECT_FALSE(inside.showing());
    EXPECT_FALSE(inside.set_focus());
    EXPECT_EQ(changes, 1);
    // Pages fill the display area and follow the control's size.
    EXPECT_EQ(info.bounds(), pcd.client_rect());
    pcd.set_bounds(0, 42, 816, 543);
    EXPECT_EQ(info.bounds().width(), 808);
}

TEST(StatusBar, PanelsKeepTheirTextsAndWidths)
{
    ui::Form f("MForm");
    f.set_client_size(716, 504);
    ui::StatusBar sb(&f, "SB");
    sb.set_panels({{"disconnected", 80, ui::Alignment::Center},
                   {" Rx: 0B", 431},
                   {"FIFO", 35, ui::Alignment::Center, ui::PanelBevel::None},
                   {" rx: 0B", 80},
                   {" tx: 0B", 90}});
    sb.set_panel_text(0, "connected");
    sb.set_panel_text(9, "ignored");
    sb.on_resize = [&] { sb.set_panel_width(1, sb.width() - 285); };
    f.set_client_size(816, 504);
    EXPECT_EQ(sb.panel(0).text, "connected");
    EXPECT_EQ(sb.panel(1).width, 531);
    EXPECT_EQ(sb.panel(2).bevel, ui::PanelBevel::None);
    EXPECT_EQ(sb.bounds(), (ui::Rect{0, 485, 816, 504}));
}

}  // namespace
