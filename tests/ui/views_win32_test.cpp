// The text view and the draw grid on the Win32 backend (under Wine): real
// windows answering the messages another program or the system sends them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ui/application.h"
#include "ui/draw_grid.h"
#include "ui/form.h"
#include "ui/text_view.h"
#include "ui/win32/window_peer.h"

namespace {

HWND hwnd_of(ui::Control& c)
{
    auto* p = dynamic_cast<ui::win32::WindowPeer*>(c.peer());
    return p ? p->hwnd() : nullptr;
}

void pump()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    ui::app().run_posted();
}

class ViewsWin32Test : public ::testing::Test {
 protected:
    void SetUp() override
    {
        f.set_client_size(640, 480);
        v.set_bounds(0, 0, 400, 200);
        g.set_bounds(0, 200, 640, 280);
        g.set_col_count(33);
        g.set_fixed_cols(1);
        g.set_fixed_rows(1);
        g.set_default_row_height(22);
        g.on_click = [this] { ++clicks; };
        f.show();
        pump();
    }

    ui::Form f{"ViewsForm"};
    ui::TextView v{&f, "Mtxt"};
    ui::DrawGrid g{&f, "DGhex"};
    int clicks = 0;
};

TEST_F(ViewsWin32Test, WindowTextIsTheWholeTextCutToTheBuffer)
{
    HWND w = hwnd_of(v);
    ASSERT_NE(w, nullptr);
    for (const char* s : {"one", "", "three"}) v.add_line(s);
    EXPECT_EQ(SendMessageA(w, WM_GETTEXTLENGTH, 0, 0), 12);
    char buf[64];
    EXPECT_EQ(SendMessageA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf)), 12);
    EXPECT_STREQ(buf, "one\r\n\r\nthree");
    EXPECT_EQ(SendMessageA(w, WM_GETTEXT, 6, reinterpret_cast<LPARAM>(buf)), 5);
    EXPECT_STREQ(buf, "one\r\n");
    EXPECT_EQ(GetWindowTextLengthA(w), 12);
    EXPECT_EQ(SendMessageA(w, EM_GETLINECOUNT, 0, 0), 3);
}

TEST_F(ViewsWin32Test, PostedLineScrollAndScrollBars)
{
    HWND w = hwnd_of(v);
    v.begin_update();
    for (int i = 0; i < 5000; ++i) v.add_line("line " + std::to_string(i) + std::string(80, '.'));
    v.end_update();
    ASSERT_GT(v.char_size().width, 0);
    PostMessageA(w, EM_LINESCROLL, 0, 1024);
    EXPECT_EQ(v.top_row(), 0u);
    pump();
    EXPECT_EQ(v.top_row(), 1024u);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &si));
    EXPECT_EQ(si.nPos, 1024);
    EXPECT_EQ(static_cast<std::uint64_t>(si.nMax - static_cast<int>(si.nPage) + 1), v.max_top_row());
    SendMessageA(w, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(v.top_row(), v.max_top_row());
    // Word wrap: the horizontal bar goes, the rows grow, and the view keeps its text area.
    EXPECT_NE(GetWindowLongA(w, GWL_STYLE) & WS_HSCROLL, 0);
    v.set_word_wrap(true);
    pump();
    EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & WS_HSCROLL, 0);
    EXPECT_GT(v.row_count(), 5000u);
    RECT rc;
    GetClientRect(w, &rc);
    EXPECT_EQ(static_cast<int>(v.view_size().height), rc.bottom);  // 96 DPI under the test prefix
}

TEST_F(ViewsWin32Test, GridScrollsToTheLastOfTheMaximumRowsAndTakesClicks)
{
    HWND w = hwnd_of(g);
    ASSERT_NE(w, nullptr);
    g.set_row_count(ui::GridNav::kMaxRows);
    SendMessageA(w, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(g.top_row(), g.nav().max_top_row());
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &si));
    EXPECT_EQ(si.nPos, g.nav().max_top_row() - 1);
    EXPECT_EQ(g.row(), 1);  // scrolling leaves the current cell
    ui::Rect r = g.cell_rect(3, g.top_row() + 2);
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 2, r.top + 2));
    SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(r.left + 2, r.top + 2));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(g.col(), 3);
    EXPECT_EQ(g.row(), g.top_row() + 2);
    UpdateWindow(w);  // paints the visible cells only; must return at once
}

// Columns that all fit leave no horizontal bar, and its height goes to the
// rows; a column that makes them overflow brings the bar back.
TEST_F(ViewsWin32Test, GridHasAHorizontalBarOnlyWhenItsColumnsOverflow)
{
    HWND w = hwnd_of(g);
    g.set_row_count(1000);
    auto hbar = [&] { return (GetWindowLongA(w, GWL_STYLE) & WS_HSCROLL) != 0; };
    auto rows_fill_the_client = [&] {
        RECT rc;
        GetClientRect(w, &rc);
        return g.view_size().height == rc.bottom;
    };
    ASSERT_GT(33 * g.col_width(1), 640);
    EXPECT_TRUE(hbar());
    g.set_default_col_width(16);  // 33 x 16 fit in 640
    pump();
    EXPECT_FALSE(hbar());
    EXPECT_TRUE(rows_fill_the_client());
    g.set_col_width(5, 600);
    pump();
    EXPECT_TRUE(hbar());
    EXPECT_TRUE(rows_fill_the_client());
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(w, SB_HORZ, &si));
    EXPECT_EQ(si.nMax, g.nav().max_left_col() - 1);
}

}  // namespace
