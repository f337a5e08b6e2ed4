// Draw grid geometry and navigation, set up like the hex view: 33 columns, one
// fixed row and column, rows of 22 pixels.
#include <gtest/gtest.h>

#include "ui/grid_nav.h"
#include "ui/scroll_scale.h"

using ui::GridCell;
using ui::GridKey;
using ui::GridNav;

namespace {

class GridNavTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        g.set_col_count(33);
        g.set_fixed(1, 1);
        g.set_row_height(22);
        g.set_col_width(0, 90);
        for (int c = 1; c <= 16; ++c) g.set_col_width(c, 20);
        for (int c = 17; c <= 32; ++c) g.set_col_width(c, 14);
        // Header + 10 full rows of 23 px; room for all columns (91 + 16*21 + 16*15).
        g.set_client_size(91 + 16 * 21 + 16 * 15, 23 * 11 + 5);
        g.set_row_count(101);
    }
    GridNav g;
};

TEST_F(GridNavTest, KeysAtTheEdges)
{
    struct Case {
        GridCell from;
        GridKey key;
        bool ctrl;
        GridCell to;
        bool changed;
    };
    const Case cases[] = {
        {{1, 1}, GridKey::left, false, {1, 1}, false},  // fixed column is not entered
        {{1, 1}, GridKey::up, false, {1, 1}, false},    // nor the header row
        {{32, 100}, GridKey::right, false, {32, 100}, false},
        {{32, 100}, GridKey::down, false, {32, 100}, false},
        {{5, 7}, GridKey::right, false, {6, 7}, true},
        {{5, 7}, GridKey::down, false, {5, 8}, true},
        {{5, 7}, GridKey::home, false, {1, 7}, true},
        {{5, 7}, GridKey::end, false, {32, 7}, true},
        {{5, 7}, GridKey::home, true, {1, 1}, true},
        {{5, 7}, GridKey::end, true, {32, 100}, true},
        {{1, 1}, GridKey::home, true, {1, 1}, false},
        {{5, 7}, GridKey::page_down, false, {5, 17}, true},    // one page is 10 rows
        {{5, 95}, GridKey::page_down, false, {5, 100}, true},  // stops at the last row
        {{5, 100}, GridKey::page_down, false, {5, 100}, false},
        {{5, 17}, GridKey::page_up, false, {5, 7}, true},
        {{5, 4}, GridKey::page_up, false, {5, 1}, true},
        {{5, 1}, GridKey::page_up, false, {5, 1}, false},
    };
    for (const Case& c : cases) {
        g.set_current(c.from);
        EXPECT_EQ(g.key(c.key, c.ctrl), c.changed) << c.from.col << "," << c.from.row;
        EXPECT_EQ(g.current(), c.to) << c.from.col << "," << c.from.row << " key " << int(c.key);
        // The current cell is always scrolled into full view.
        EXPECT_GE(g.current().row, g.top_row());
        EXPECT_LT(g.current().row, g.top_row() + g.page_rows());
    }
}

TEST_F(GridNavTest, PageDownScrollsWithTheCurrentCell)
{
    g.set_current({3, 5});
    g.key(GridKey::page_down, false);
    EXPECT_EQ(g.top_row(), 11);  // top and current move by the same page
    EXPECT_EQ(g.current().row, 15);
    g.key(GridKey::end, true);
    EXPECT_EQ(g.top_row(), g.max_top_row());
    EXPECT_EQ(g.max_top_row(), 101 - 10);
}

TEST_F(GridNavTest, SetCurrentClampsToScrolledCells)
{
    struct Case {
        GridCell ask, got;
    };
    const Case cases[] = {
        {{0, 0}, {1, 1}},
        {{-5, -5}, {1, 1}},
        {{40, 500}, {32, 100}},
        {{16, 50}, {16, 50}},
    };
    for (const Case& c : cases) {
        g.set_current(c.ask);
        EXPECT_EQ(g.current(), c.got);
    }
    EXPECT_FALSE(g.set_current({16, 50}));  // no change, no click
    g.set_row_count(2);                     // shrinking pulls the current cell in
    EXPECT_EQ(g.current(), (GridCell{16, 1}));
    EXPECT_EQ(g.top_row(), 1);
}

TEST_F(GridNavTest, VirtualRowsAtTheMaximum)
{
    g.set_row_count(GridNav::kMaxRows + 1000);
    EXPECT_EQ(g.row_count(), GridNav::kMaxRows);
    g.key(GridKey::end, true);
    EXPECT_EQ(g.current(), (GridCell{32, GridNav::kMaxRows - 1}));
    EXPECT_EQ(g.top_row(), GridNav::kMaxRows - 10);
    ui::GridRange v = g.visible();
    EXPECT_EQ(v.first_row, GridNav::kMaxRows - 10);
    EXPECT_EQ(v.last_row, GridNav::kMaxRows - 1);
    ui::GridRect r = g.cell_rect(g.current());
    EXPECT_EQ(r.top, 23 * 10);  // the last row sits on the tenth line below the header
    auto hit = g.cell_at(r.left + 1, r.top + 1);
    ASSERT_TRUE(hit);
    EXPECT_EQ(*hit, g.current());
    g.key(GridKey::page_down, false);  // no overflow past the end
    EXPECT_EQ(g.current().row, GridNav::kMaxRows - 1);
    g.key(GridKey::home, true);
    EXPECT_EQ(g.top_row(), 1);
    // The vertical range fits a scroll bar unscaled; a bigger one is scaled.
    ui::ScrollScale s(static_cast<std::uint64_t>(g.max_top_row() - 1));
    EXPECT_FALSE(s.scaled());
    EXPECT_EQ(s.from_bar(s.to_bar(12345678)), 12345678u);
}

TEST(ScrollScale, ScalesBeyondTheLimit)
{
    ui::ScrollScale s(5000000000ull, 1000);
    ASSERT_TRUE(s.scaled());
    EXPECT_EQ(s.bar_max(), 1000);
    EXPECT_EQ(s.to_bar(0), 0);
    EXPECT_EQ(s.to_bar(5000000000ull), 1000);
    EXPECT_EQ(s.to_bar(2500000000ull), 500);
    EXPECT_EQ(s.from_bar(1000), 5000000000ull);  // the end is reachable
    EXPECT_EQ(s.from_bar(500), 2500000000ull);
    EXPECT_EQ(s.from_bar(-3), 0u);
}

TEST_F(GridNavTest, VisibleRangeAndHitTest)
{
    g.set_current({1, 40});
    g.set_top_row(35);
    ui::GridRange v = g.visible();
    EXPECT_EQ(v.first_row, 35);
    EXPECT_EQ(v.last_row, 45);  // 10 full rows and a partial one
    EXPECT_EQ(v.first_col, 1);
    EXPECT_EQ(v.last_col, 32);
    EXPECT_EQ(g.current().row, 40);  // scrolling does not move the current cell

    struct Case {
        int x, y;
        bool hit;
        GridCell cell;
    };
    const Case cases[] = {
        {0, 0, true, {0, 0}},    {90, 22, true, {0, 0}},  // grid line belongs to the cell before it
        {91, 23, true, {1, 35}}, {91 + 21 * 16, 23 * 2, true, {17, 36}},
        {-1, 5, false, {}},      {5000, 5, false, {}},
    };
    for (const Case& c : cases) {
        auto hit = g.cell_at(c.x, c.y);
        ASSERT_EQ(hit.has_value(), c.hit) << c.x << "," << c.y;
        if (c.hit) {
            EXPECT_EQ(*hit, c.cell) << c.x << "," << c.y;
        }
    }
    EXPECT_EQ(g.cell_rect({1, 35}), (ui::GridRect{91, 23, 111, 45}));
    EXPECT_EQ(g.cell_rect({0, 36}), (ui::GridRect{0, 46, 90, 68}));
}

TEST_F(GridNavTest, NarrowClientScrollsColumns)
{
    g.set_client_size(91 + 5 * 21, 23 * 11);  // room for five hex columns
    g.set_current({10, 1});
    EXPECT_EQ(g.left_col(), 6);  // columns 6..10 fully shown
    g.key(GridKey::home, false);
    EXPECT_EQ(g.left_col(), 1);
    g.key(GridKey::end, false);
    EXPECT_EQ(g.visible().last_col, 32);
    EXPECT_EQ(g.left_col(), g.max_left_col());
}

}  // namespace
