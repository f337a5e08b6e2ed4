// The manual names what the main window shows, exactly: each menu item with
// its caption and shortcut in one table row, each submenu under its own
// heading, each tool-bar button and page; and the built file stands alone.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/app/main_window_fixture.h"
#include "ui/tool_bar.h"

namespace {

std::string file_text(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A caption as the page writes it: no access-key marks, the ANSI ellipsis in
// UTF-8, and & as an entity.
std::string as_html(const std::string& caption)
{
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        if (c == '&' && i + 1 < caption.size() && caption[i + 1] != '&') continue;
        if (c == '&') {
            out += "&amp;";
            ++i;
        } else if (c == '\x85') {
            out += "\xE2\x80\xA6";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else {
            out += c;
        }
    }
    return out;
}

class ManualTest : public MainWindowTest {
 protected:
    std::string manual = file_text(OLVEX_MANUAL_SOURCE);
    std::vector<std::string> missing;

    void expect_text(const std::string& text)
    {
        if (manual.find(text) == std::string::npos) missing.push_back(text);
    }

    // A submenu has a heading "Rx &gt; Text menu"; an item a row with its
    // caption and its shortcut (an empty cell for none).
    void walk(const ui::MenuItem& item, const std::string& path)
    {
        if (item.is_separator()) return;
        const std::string caption = as_html(item.caption());
        if (!item.items().empty()) {
            const std::string here = path.empty() ? caption : path + " &gt; " + caption;
            expect_text(">" + here + " menu</h3>");
            for (const ui::MenuItem* child : item.items()) walk(*child, here);
        } else {
            expect_text("<td class=\"m\">" + caption + "</td><td class=\"k\">" + item.shortcut().text() + "</td>");
        }
    }
};

TEST_F(ManualTest, DescribesEveryMenuItemWithItsShortcut)
{
    ASSERT_FALSE(manual.empty()) << OLVEX_MANUAL_SOURCE;
    for (const ui::MenuItem* top : m->menu.MainMenu1.items()) walk(*top, "");
    EXPECT_THAT(missing, ::testing::IsEmpty());
}

TEST_F(ManualTest, DescribesEveryToolBarButtonAndPage)
{
    int buttons = 0;
    for (const ui::Control* c : m->tools.Bevel1.children()) {
        if (const auto* b = dynamic_cast<const ui::ToolButton*>(c)) {
            ++buttons;
            expect_text("<td class=\"m\">" + as_html(b->caption()) + "</td>");
        }
    }
    for (int i = 0; i < m->PCd.page_count(); ++i) expect_text(">" + as_html(m->PCd.page(i)->caption()) + " page</h3>");
    EXPECT_GT(buttons, 0);
    EXPECT_THAT(missing, ::testing::IsEmpty());
}

// What F1 opens beside the program: the same page, every picture inside it.
TEST(ManualFile, BuiltBesideTheProgramWithItsPicturesInside)
{
    const std::string built = file_text(OLVEX_MANUAL_BUILT);
    ASSERT_FALSE(built.empty()) << OLVEX_MANUAL_BUILT;
    EXPECT_EQ(built.find("src=\"main-"), std::string::npos);
    EXPECT_EQ(built.find(".png\""), std::string::npos);
    EXPECT_NE(built.find("src=\"data:image/png;base64,"), std::string::npos);
    EXPECT_NE(built.find("<h2 id=\"settings\">"), std::string::npos);
}

}  // namespace
