// Main menu: check items toggle themselves before their handler, radio items
// stay exclusive, accelerators run enabled items only, shortcut notation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/edit.h"
#include "ui/form.h"
#include "ui/headless/user.h"
#include "ui/menu.h"

namespace {

using ui::MenuCheck;
using ui::MenuItem;
using ui::shortcut;
using ui::headless::User;

struct MenuForm : ui::Form {
    MenuForm() : Form("MenuForm")
    {
        set_key_preview(true);
        for (MenuItem* m : {&MMcon, &MMdiscon, &MMclrrx, &MMwwrap, &MMlnCR, &MMlnLF, &MMlnANY, &MMsavebins, &MMhelp})
            m->on_click = [this, m] { log.push_back(m->name() + (m->checked() ? "+" : "")); };
        MMdiscon.set_enabled(false);
        MMlnCR.set_checked(true);
    }
    ui::MainMenu MainMenu1{*this};
    MenuItem Port{MainMenu1, "Port", "&Port"};
    MenuItem MMcon{Port, "MMcon", "Connect", shortcut("Alt+C")};
    MenuItem MMdiscon{Port, "MMdiscon", "Disconect", shortcut("Alt+D")};
    MenuItem Rx{MainMenu1, "Rx", "Rx"};
    MenuItem MMclrrx{Rx, "MMclrrx", "Clear rx data", shortcut("Shift+Del")};
    MenuItem N1{Rx, ui::separator};
    MenuItem Text{Rx, "Text", "Text"};
    MenuItem MMwwrap{Text, "MMwwrap", "Word wrap", shortcut("Ctrl+W"), MenuCheck::Check};
    MenuItem MMlnCR{Text, "MMlnCR", "CR   (MAC)", {}, MenuCheck::Radio};
    MenuItem MMlnLF{Text, "MMlnLF", "LF    (UNIX)", {}, MenuCheck::Radio};
    MenuItem MMlnANY{Text, "MMlnANY", "CR or LF", {}, MenuCheck::Radio};
    MenuItem Binary{Rx, "Binary", "Binary"};
    MenuItem MMsavebins{Binary, "MMsavebins", "Save selected", shortcut("Ctrl+Alt+S")};
    MenuItem Help{MainMenu1, "Help", "Help"};
    MenuItem MMhelp{Help, "MMhelp", "Help", shortcut("F1")};
    ui::Edit E{this, "E"};
    std::vector<std::string> log;

    std::string line_mode() const
    {
        std::string s;
        for (const MenuItem* m : {&MMlnCR, &MMlnLF, &MMlnANY}) s += m->checked() ? '1' : '0';
        return s;
    }
};

TEST(Menu, ChoosingItemsTogglesAndChecksBeforeTheHandler)
{
    struct Case {
        const char* name;
        std::vector<std::vector<std::string_view>> paths;
        std::vector<std::string> events;
        std::string line_mode;
        bool wrap;
    };
    const Case cases[] = {
        {"check item toggles on", {{"Rx", "Text", "Word wrap"}}, {"MMwwrap+"}, "100", true},
        {"and off", {{"Rx", "Text", "Word wrap"}, {"Rx", "Text", "Word wrap"}}, {"MMwwrap+", "MMwwrap"}, "100", false},
        {"radio moves", {{"Rx", "Text", "CR or LF"}}, {"MMlnANY+"}, "001", false},
        {"checked radio stays checked", {{"Rx", "Text", "CR   (MAC)"}}, {"MMlnCR+"}, "100", false},
        {"disabled item cannot be chosen", {{"Port", "Disconect"}}, {}, "100", false},
        {"ampersands are not part of the path", {{"Port", "Connect"}}, {"MMcon"}, "100", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        User user;
        MenuForm f;
        f.show();
        for (const auto& path : c.paths) {
            ui::MenuItem* item = f.menu()->find_path(path);
            ASSERT_NE(item, nullptr);
            user.choose(*item);
        }
        EXPECT_EQ(f.log, c.events);
        EXPECT_EQ(f.line_mode(), c.line_mode);
        EXPECT_EQ(f.MMwwrap.checked(), c.wrap);
    }
}

TEST(Menu, AcceleratorsRunTheirItemBeforeTheFocusedControlSeesTheKey)
{
    struct Case {
        const char* keys;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"Alt+C", {"MMcon"}},
        {"Alt+D", {}},  // disabled: nothing runs
        {"Shift+Del", {"MMclrrx"}},
        {"Ctrl+Alt+S", {"MMsavebins"}},
        {"Ctrl+W", {"MMwwrap+"}},
        {"F1", {"MMhelp"}},
        {"Ctrl+S", {}},  // no such accelerator
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        User user;
        MenuForm f;
        std::vector<std::string> keys_seen;
        f.E.on_key_down = [&](ui::KeyEvent& e) { keys_seen.push_back(std::to_string(e.key)); };
        f.show();
        user.focus(f.E);
        user.press(c.keys);
        EXPECT_EQ(f.log, c.events);
        EXPECT_EQ(keys_seen.empty(), !c.events.empty());
    }
}

TEST(Menu, DisabledParentBlocksItsItemsAndCodeSettersAreSilent)
{
    User user;
    MenuForm f;
    f.show();
    f.Rx.set_enabled(false);
    user.press("Shift+Del");
    EXPECT_FALSE(user.choose(f, {"Rx", "Clear rx data"}));
    f.Rx.set_enabled(true);
    f.MMlnLF.set_checked(true);
    f.MMwwrap.set_checked(true);
    EXPECT_TRUE(f.log.empty());
    EXPECT_EQ(f.line_mode(), "010");
    EXPECT_TRUE(user.choose(f, {"Rx", "Clear rx data"}));
    EXPECT_EQ(f.log, std::vector<std::string>{"MMclrrx"});
}

TEST(ShortCut, TextAndParseAgree)
{
    const char* texts[] = {"Alt+F4", "Alt+C", "Shift+Del", "Ctrl+Alt+S", "Ctrl+W", "F1", "Ctrl+B"};
    for (const char* t : texts) {
        SCOPED_TRACE(t);
        auto sc = ui::ShortCut::parse(t);
        ASSERT_TRUE(sc.has_value());
        EXPECT_EQ(sc->text(), t);
    }
    EXPECT_EQ(shortcut("Shift+Del").key, ui::keys::Delete);
    EXPECT_TRUE(shortcut("Ctrl+Alt+S").shift.ctrl && shortcut("Ctrl+Alt+S").shift.alt);
    EXPECT_FALSE(ui::ShortCut::parse("Ctrl+").has_value());
    EXPECT_FALSE(ui::ShortCut::parse("Hyper+X").has_value());
    EXPECT_FALSE(ui::ShortCut::parse("F99").has_value());
}

}  // namespace
