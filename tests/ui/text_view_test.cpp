// The text view on the headless backend: painting only what is on screen,
// scrolling, word wrap, selection by mouse and keys, copy and window text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/headless/user.h"
#include "ui/services.h"
#include "ui/text_view.h"

using ui::KeyEvent;
using ui::MouseButton;
using ui::MouseEvent;
using ui::Point;
using ui::ShiftState;
using ui::TextPos;
using ui::TextView;
using ui::headless::User;

namespace {

// Courier 8 pt headless: cells of 7 x 11 px; the view shows 20 columns, 5 rows.
class TextViewTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        v.set_bounds(0, 0, 20 * 7, 5 * 11);
        f.show();
    }
    void fill(int n)
    {
        v.begin_update();
        for (int i = 0; i < n; ++i) v.add_line("line " + std::to_string(i));
        v.end_update();
    }
    void mouse(void (ui::Control::*fn)(const MouseEvent&), Point p, bool shift = false)
    {
        MouseEvent e;
        e.pos = p;
        e.button = MouseButton::Left;
        e.shift.shift = shift;
        (v.*fn)(e);
    }
    std::vector<std::string> painted() { return user.paint(v).texts(); }

    User user;
    ui::Form f{"TVForm"};
    TextView v{&f, "Mtxt"};
};

TEST_F(TextViewTest, FontAndDefaults)
{
    EXPECT_EQ(v.font().name, "Courier");
    EXPECT_EQ(v.font().points, 8);
    EXPECT_EQ(v.char_size(), (ui::Size{7, 11}));
    EXPECT_FALSE(v.word_wrap());
    EXPECT_TRUE(v.horizontal_bar());
}

TEST_F(TextViewTest, PaintsOnlyTheLinesOnScreen)
{
    fill(100000);
    EXPECT_EQ(painted(), (std::vector<std::string>{"line 0", "line 1", "line 2", "line 3", "line 4"}));
    v.scroll_lines(1024);
    EXPECT_EQ(v.top_row(), 1024u);
    EXPECT_EQ(painted().front(), "line 1024");
    EXPECT_EQ(painted().size(), 5u);
}

TEST_F(TextViewTest, ScrollClampsAndPostedScrollRunsLater)
{
    fill(30);
    struct Case {
        std::int64_t by;
        std::uint64_t top;
    };
    const Case cases[] = {{1024, 25}, {-3, 22}, {-1000, 0}, {0, 0}, {25, 25}, {1, 25}};
    for (const Case& c : cases) {
        v.scroll_lines(c.by);
        EXPECT_EQ(v.top_row(), c.top) << c.by;
    }
    v.set_top_row(0);
    v.post_scroll_lines(1024);
    EXPECT_EQ(v.top_row(), 0u);  // not before the current handler ends
    user.run_posted();
    EXPECT_EQ(v.top_row(), 25u);
    v.clear();  // nothing left to scroll
    EXPECT_EQ(v.top_row(), 0u);
}

TEST_F(TextViewTest, LinesAreCutForDisplayOnlyAndShowControlsAsBlanks)
{
    v.add_line(std::string(30, 'a') + "XYZ");
    v.add_line(
        "a\tb\x01"
        "c");
    EXPECT_EQ(v.max_left_col(), 33u + 1 - 20);  // the caret may sit after the longest line
    v.set_left_col(99);
    EXPECT_EQ(v.left_col(), 14u);
    EXPECT_EQ(painted(), (std::vector<std::string>{std::string(16, 'a') + "XYZ"}));  // line 2 is too short
    v.set_left_col(0);
    std::vector<std::string> t = painted();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0], std::string(20, 'a') + "a");  // one partly visible cell more
    EXPECT_EQ(t[1], "a b c");
    EXPECT_EQ(v.lines().line(1),
              "a\tb\x01"
              "c");  // the text itself is kept
}

TEST_F(TextViewTest, WordWrapCutsRowsAndKeepsTheTopLine)
{
    fill(10);
    v.replace_last_line(std::string(45, 'w'));  // 20 + 20 + 5 when wrapped
    v.set_top_row(5);
    v.set_word_wrap(true);
    EXPECT_FALSE(v.horizontal_bar());
    EXPECT_EQ(v.row_count(), 9u + 3);
    EXPECT_EQ(v.top_row(), 5u);
    EXPECT_EQ(painted().front(), "line 5");
    v.scroll_lines(100);
    EXPECT_EQ(painted(), (std::vector<std::string>{"line 7", "line 8", std::string(20, 'w'), std::string(20, 'w'),
                                                   std::string(5, 'w')}));
    v.set_word_wrap(false);
    EXPECT_EQ(v.row_count(), 10u);
    EXPECT_EQ(painted().front(), "line 5");  // max top without wrap
    v.set_word_wrap(true);
    v.set_view_size(ui::Size{10 * 7, 5 * 11});  // narrower: rows of 10
    EXPECT_EQ(v.row_count(), 9u + 5);
}

TEST_F(TextViewTest, MouseSelectionAndCopy)
{
    for (const char* s : {"alpha", "beta", "gamma"}) v.add_line(s);
    mouse(&ui::Control::mouse_down, {2 * 7, 0});       // before 'p'
    mouse(&ui::Control::mouse_move, {3 * 7 + 1, 22});  // after "gam"
    mouse(&ui::Control::mouse_up, {3 * 7 + 1, 22});
    EXPECT_TRUE(v.focused());
    EXPECT_EQ(v.anchor(), (TextPos{0, 2}));
    EXPECT_EQ(v.caret(), (TextPos{2, 3}));
    EXPECT_EQ(v.selected_text(), "pha\r\nbeta\r\ngam");
    user.press(ui::keys::Insert, ShiftState{false, true, false});  // Ctrl+Insert copies too
    EXPECT_EQ(ui::clipboard_text(), "pha\r\nbeta\r\ngam");
    mouse(&ui::Control::mouse_down, {50 * 7, 11}, true);  // Shift+click past the end of "beta"
    EXPECT_EQ(v.caret(), (TextPos{1, 4}));
    EXPECT_EQ(v.selected_text(), "pha\r\nbeta");
    // A click without Shift collapses the selection: Ctrl+C leaves the clipboard alone.
    mouse(&ui::Control::mouse_down, {0, 0});
    ui::set_clipboard_text("kept");
    user.press("Ctrl+C");
    EXPECT_EQ(ui::clipboard_text(), "kept");
}

// A right click offers what a read-only text box does: "Copy" only with a
// selection, and "Select all" while there is text.
TEST_F(TextViewTest, ContextMenuCopiesAndSelectsAll)
{
    auto& popups = user.world().popups;
    user.right_click(v, {3, 3});
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].owner, "Mtxt");
    ASSERT_EQ(popups[0].items.size(), 2u);
    EXPECT_EQ(popups[0].items[0].caption, "Copy");
    EXPECT_FALSE(popups[0].items[0].enabled);
    EXPECT_EQ(popups[0].items[1].caption, "Select all");
    EXPECT_FALSE(popups[0].items[1].enabled);  // nothing to select yet

    for (const char* s : {"alpha", "beta"}) v.add_line(s);
    ui::set_clipboard_text("kept");
    user.choose_popup("Copy");  // disabled: choosing it does nothing
    user.right_click(v);
    EXPECT_EQ(ui::clipboard_text(), "kept");
    user.choose_popup("Select all");
    user.right_click(v);
    EXPECT_EQ(v.selected_text(), "alpha\r\nbeta");
    user.choose_popup("Copy");
    user.right_click(v, {7, 0});
    EXPECT_TRUE(popups.back().items[0].enabled);
    EXPECT_EQ(ui::clipboard_text(), "alpha\r\nbeta");
    EXPECT_TRUE(v.has_selection());  // the right click keeps the selection it acts on
}

TEST_F(TextViewTest, SelectionIsPaintedHighlighted)
{
    v.add_line("abcdef");
    v.add_line("xyz");
    v.select({0, 2}, {1, 1});
    ui::headless::RecordingCanvas c = user.paint(v);
    const ui::headless::DrawOp* sel = c.text_at({2 * 7 + 1, 1});
    ASSERT_NE(sel, nullptr);
    EXPECT_EQ(sel->text, "cdef");
    EXPECT_EQ(sel->brush.color, ui::colors::highlight);
    EXPECT_EQ(c.fill_at({6 * 7 + 1, 1}), ui::colors::highlight);  // the line break cell
    const ui::headless::DrawOp* rest = c.text_at({1 * 7 + 1, 12});
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(rest->text, "yz");
    EXPECT_EQ(rest->brush.color, v.color());
}

TEST_F(TextViewTest, KeyboardMovesAndSelects)
{
    fill(12);  // "line 0" .. "line 11"
    user.focus(v);
    struct Step {
        int key;
        ShiftState shift;
        TextPos anchor, caret;
        std::uint64_t top;
    };
    const ShiftState none{}, shift{true, false, false}, ctrl{false, true, false}, both{true, true, false};
    const Step steps[] = {
        {ui::keys::Right, shift, {0, 0}, {0, 1}, 0},
        {ui::keys::End, shift, {0, 0}, {0, 6}, 0},
        {ui::keys::Right, shift, {0, 0}, {1, 0}, 0},  // over the line break
        {ui::keys::Left, none, {0, 6}, {0, 6}, 0},
        {ui::keys::Down, none, {1, 6}, {1, 6}, 0},
        {ui::keys::Next, none, {6, 6}, {6, 6}, 5},  // a page is 5 rows
        {ui::keys::End, both, {6, 6}, {11, 7}, 7},
        {ui::keys::Up, none, {10, 7}, {10, 7}, 7},  // the goal column (7) fits "line 10"
        {ui::keys::Home, ctrl, {0, 0}, {0, 0}, 0},
        {ui::keys::Prior, none, {0, 0}, {0, 0}, 0},
        {ui::keys::Left, none, {0, 0}, {0, 0}, 0},
    };
    for (const Step& s : steps) {
        user.press(s.key, s.shift);
        EXPECT_EQ(v.anchor(), s.anchor) << s.key;
        EXPECT_EQ(v.caret(), s.caret) << s.key;
        EXPECT_EQ(v.top_row(), s.top) << s.key;
    }
    user.press("Ctrl+A");
    EXPECT_EQ(v.selected_text().size(), v.text_length());
}

TEST_F(TextViewTest, WindowTextIsTheWholeTextBoundedByTheCaller)
{
    for (const char* s : {"one", "", "three"}) v.add_line(s);
    EXPECT_EQ(v.text_length(), 3u + 2 + 0 + 2 + 5);
    EXPECT_EQ(v.text_prefix(100), "one\r\n\r\nthree");
    EXPECT_EQ(v.text_prefix(5), "one\r\n");
    EXPECT_EQ(v.text_prefix(0), "");
}

TEST_F(TextViewTest, AppendAndReplaceWorkOnTheLastLineOnly)
{
    v.add_line("first");
    v.append_to_last_line(" more");
    v.add_line("x");
    v.replace_last_line(v.last_line() + "yz");
    EXPECT_EQ(v.line_count(), 2);
    EXPECT_EQ(v.lines().line(0), "first more");
    EXPECT_EQ(v.last_line(), "xyz");
    v.select({1, 3}, {1, 3});
    v.replace_last_line("");  // the caret follows a shrinking line
    EXPECT_EQ(v.caret(), (TextPos{1, 0}));
}

}  // namespace

namespace {

TEST_F(TextViewTest, WrappedRowsMoveTheCaretByVisualRows)
{
    v.add_line(std::string(45, 'w'));  // rows of 20, 20 and 5
    v.add_line("abc");
    v.set_word_wrap(true);
    user.focus(v);
    struct Step {
        int key;
        TextPos caret;
    };
    const Step steps[] = {
        {ui::keys::End, {0, 19}},   // the end of a row that continues stays on that row
        {ui::keys::Down, {0, 39}},  // same column, next row
        {ui::keys::Down, {0, 45}},  // a short last row: its end
        {ui::keys::Down, {1, 3}},  {ui::keys::Home, {1, 0}},  {ui::keys::Up, {0, 40}},
        {ui::keys::Left, {0, 39}}, {ui::keys::Home, {0, 20}},  // the start of the visual row, not of the line
    };
    for (const Step& s : steps) {
        user.press(s.key);
        EXPECT_EQ(v.caret(), s.caret) << s.key;
    }
}

}  // namespace
