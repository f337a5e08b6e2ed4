// The draw grid on the headless backend, set up like the hex view: which cells
// are painted, when the click event fires, and the default drawing.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "ui/draw_grid.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/headless/user.h"

using ui::DrawGrid;
using ui::GridDrawState;
using ui::headless::User;

namespace {

class DrawGridTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        g.set_col_count(33);
        g.set_fixed_cols(1);
        g.set_fixed_rows(1);
        g.set_default_row_height(22);
        g.set_col_width(0, 90);
        for (int c = 1; c <= 16; ++c) g.set_col_width(c, 20);
        for (int c = 17; c <= 32; ++c) g.set_col_width(c, 14);
        g.set_bounds(0, 0, 91 + 16 * 21 + 16 * 15, 23 * 11 + 5);  // header + 10 rows + a part
        g.set_row_count(2);
        g.on_click = [this] { ++clicks; };
        g.on_draw_cell = [this](ui::Canvas&, std::int32_t c, std::int32_t r, const ui::Rect&, GridDrawState) {
            drawn.insert({c, r});
        };
        f.show();
    }
    void click_at(ui::Point p)
    {
        ui::MouseEvent e;
        e.pos = p;
        e.button = ui::MouseButton::Left;
        g.mouse_down(e);
    }

    User user;
    ui::Form f{"GridForm"};
    DrawGrid g{&f, "DGhex"};
    int clicks = 0;
    std::set<std::pair<std::int32_t, std::int32_t>> drawn;
};

TEST_F(DrawGridTest, PaintsOnlyVisibleCellsAtTheMaximumRowCount)
{
    g.set_row_count(ui::GridNav::kMaxRows);
    g.set_row(g.row_count() - 1);  // as each drain does: the last row, then column 32
    g.set_col(32);
    EXPECT_EQ(clicks, 2);
    user.paint(g);
    // 33 columns x (header + the last 10 rows).
    EXPECT_EQ(drawn.size(), 33u * 11);
    EXPECT_TRUE(drawn.count({32, ui::GridNav::kMaxRows - 1}));
    EXPECT_TRUE(drawn.count({0, 0}));
    EXPECT_FALSE(drawn.count({5, 1}));
    for (auto [c, r] : drawn) EXPECT_TRUE(r == 0 || r >= ui::GridNav::kMaxRows - 10) << r;
}

TEST_F(DrawGridTest, ClickFiresOnUserClicksKeysAndCodeMoves)
{
    g.set_row_count(101);
    struct Step {
        const char* what;
        std::function<void()> act;
        std::int32_t col, row;
        int clicks;
    };
    const Step steps[] = {
        {"code moves the row", [&] { g.set_row(100); }, 1, 100, 1},
        {"code sets the same row", [&] { g.set_row(100); }, 1, 100, 1},
        {"code moves the column", [&] { g.set_col(32); }, 32, 100, 2},
        {"row count pulls the cell in silently", [&] { g.set_row_count(2); }, 32, 1, 2},
        {"user clicks a data cell",
         [&] {
             click_at({91 + 21 * 2 + 3, 23 + 3});
         },
         3, 1, 3},
        {"user clicks the current cell again",
         [&] {
             click_at({91 + 21 * 2 + 3, 23 + 3});
         },
         3, 1, 4},
        {"header cells are not selectable",
         [&] {
             click_at({5, 5});
         },
         3, 1, 4},
        {"a key at the edge moves nothing", [&] { user.press(ui::keys::Down); }, 3, 1, 4},
        {"End moves", [&] { user.press(ui::keys::End); }, 32, 1, 5},
        {"Ctrl+Home moves",
         [&] {
             user.press(ui::keys::Home, {false, true, false});
         },
         1, 1, 6},
        {"the wheel moves the row",
         [&] {
             g.set_row_count(10);
             g.mouse_wheel(-240, {});
         },
         1, 3, 7},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(g.col(), s.col) << s.what;
        EXPECT_EQ(g.row(), s.row) << s.what;
        EXPECT_EQ(clicks, s.clicks) << s.what;
    }
    EXPECT_TRUE(g.focused());  // the mouse gave it the focus
}

TEST_F(DrawGridTest, DefaultDrawingFillsHeadersAndMarksTheCurrentCell)
{
    g.set_row_count(5);
    g.set_current(2, 2);
    g.on_draw_cell = nullptr;
    auto cell_fill = [&](ui::headless::RecordingCanvas& c, int col, int row) {
        ui::Rect r = g.cell_rect(col, row);
        return c.fill_at({r.left + 1, r.top + 1});
    };
    ui::Edit other(&f, "Other");
    ASSERT_TRUE(other.set_focus());
    ui::headless::RecordingCanvas c = user.paint(g);
    EXPECT_EQ(cell_fill(c, 0, 0), ui::colors::btn_face);
    EXPECT_EQ(cell_fill(c, 1, 1), ui::colors::window);
    EXPECT_EQ(cell_fill(c, 2, 2), ui::colors::highlight);  // current, grid not focused
    g.set_focus();
    c = user.paint(g);
    EXPECT_EQ(cell_fill(c, 2, 2), ui::colors::window);
    int focus_rects = 0;
    for (const auto& op : c.ops())
        if (op.kind == ui::headless::OpKind::FocusRect) {
            ++focus_rects;
            EXPECT_EQ(op.rect, g.cell_rect(2, 2));
        }
    EXPECT_EQ(focus_rects, 1);
    // Without default drawing the handler alone paints the cells.
    g.set_default_drawing(false);
    c = user.paint(g);
    EXPECT_EQ(cell_fill(c, 0, 0), ui::Color::rgb(192, 192, 192));  // only the grid-line fill
}

}  // namespace
