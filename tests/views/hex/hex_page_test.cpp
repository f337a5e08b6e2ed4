// The HEX page on the headless main window: rows and the inspector following
// the drain, clicks, the block commands, copies and what the grid paints.
#include <algorithm>

#include "numtext/number_text.h"
#include "tests/app/main_window_fixture.h"
#include "ui/services.h"

using ui::headless::OpKind;
using ui::headless::RecordingCanvas;

namespace {

std::string bytes_0_to(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i) s.push_back(char(i));
    return s;
}

ui::Point centre(const ui::Rect& r)
{
    return ui::Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool has_op(const RecordingCanvas& c, OpKind kind, ui::Point a)
{
    return std::any_of(c.ops().begin(), c.ops().end(), [&](const auto& op) { return op.kind == kind && op.a == a; });
}

}  // namespace

class HexPageTest : public MainWindowTest {
 protected:
    HexPage& hex() { return m->hex; }
    // Makes a cell current as a click on it would.
    void pick(std::int32_t col, std::int32_t row) { hex().DGhex.set_current(col, row); }
    void receive(const std::string& bytes)
    {
        arrive(bytes);
        tick();
    }
};

TEST_F(HexPageTest, EmptyStoreShowsOneEmptyRowAndIgnoresTheBlockCommands)
{
    EXPECT_EQ(m->PCd.active_page_index(), 1);
    EXPECT_EQ(hex().DGhex.row_count(), 2);
    pick(3, 1);
    EXPECT_EQ(hex().STu8.caption(), "");
    EXPECT_EQ(hex().STrxposd.caption(), "");
    user.press("Ctrl+B");
    user.press("Ctrl+E");
    EXPECT_EQ(hex().block_start, 0);
    EXPECT_EQ(hex().block_end, 0);
    RecordingCanvas c = user.paint(hex().DGhex);
    // Nothing of the data row is painted but its offset.
    EXPECT_EQ(c.fill_at(centre(hex().DGhex.cell_rect(1, 1))), ui::colors::window);
}

TEST_F(HexPageTest, SeventeenBytesMakeThreeRowsAndTheInspectorFollowsTheEnd)
{
    connect();
    std::string data = bytes_0_to(16) + "\xA5";
    receive(data);
    EXPECT_EQ(hex().DGhex.row_count(), 3);
    EXPECT_EQ(hex().DGhex.row(), 2);
    EXPECT_EQ(hex().DGhex.col(), 32);
    // Column 32 of row 2 is byte 31, past the data: empty fields.
    EXPECT_EQ(hex().STu8.caption(), "");
    pick(1, 2);
    EXPECT_EQ(hex().STu8.caption(), " 165");
    EXPECT_EQ(hex().STrxposd.caption(), " 16");
    pick(2, 2);
    EXPECT_EQ(hex().STu8.caption(), "");
    pick(18, 2);
    EXPECT_EQ(hex().STi8.caption(), "");
    pick(17, 2);
    EXPECT_EQ(hex().STi8.caption(), " -91");

    RecordingCanvas c = user.paint(hex().DGhex);
    const ui::Rect hex_cell = hex().DGhex.cell_rect(1, 2), char_cell = hex().DGhex.cell_rect(17, 2);
    ASSERT_NE(c.text_at(centre(hex_cell)), nullptr);
    EXPECT_EQ(c.text_at(centre(hex_cell))->text, "A5");
    ASSERT_NE(c.text_at(centre(char_cell)), nullptr);
    EXPECT_EQ(c.text_at(centre(char_cell))->text, "\xA5");
    const ui::Rect offset = hex().DGhex.cell_rect(0, 2);
    ASSERT_NE(c.text_at(centre(offset)), nullptr);
    EXPECT_EQ(c.text_at(centre(offset))->text, "0x00000010");
    EXPECT_EQ(c.fill_at(centre(offset)), ui::Color::rgb(196, 206, 247));
    // Control bytes are drawn as themselves in the character half.
    const ui::Rect nul = hex().DGhex.cell_rect(17, 1);
    ASSERT_NE(c.text_at(centre(nul)), nullptr);
    EXPECT_EQ(c.text_at(centre(nul))->text, std::string(1, '\0'));
    // Past the data nothing is painted over the grid's own background.
    EXPECT_EQ(c.text_at(centre(hex().DGhex.cell_rect(2, 2))), nullptr);
}

TEST_F(HexPageTest, PaintMarksTheBlockHeadersDividersAndTheMirrorCell)
{
    connect();
    receive(bytes_0_to(48));
    pick(3, 1);  // byte 2
    user.press("Ctrl+B");
    pick(20, 2);  // byte 19, from the character half
    user.press("Ctrl+E");
    EXPECT_EQ(hex().block_start, 2);
    EXPECT_EQ(hex().block_end, 19);
    EXPECT_EQ(hex().STss.caption(), " 0x00000002");
    EXPECT_EQ(hex().STsp.caption(), " 0x00000013");
    EXPECT_EQ(hex().STsl.caption(), " 18");

    RecordingCanvas c = user.paint(hex().DGhex);
    auto& g = hex().DGhex;
    struct FillCase {
        std::int32_t col, row;
        ui::Color fill;
    };
    const FillCase fills[] = {
        {3, 1, ui::Color::rgb(254, 245, 197)}, {19, 1, ui::Color::rgb(255, 242, 230)},
        {4, 2, ui::Color::rgb(254, 245, 197)}, {20, 2, ui::Color::rgb(255, 242, 230)},
        {2, 1, ui::Color::rgb(254, 255, 242)}, {18, 1, ui::colors::white},
        {5, 2, ui::Color::rgb(254, 255, 242)}, {21, 2, ui::colors::white},
    };
    for (const FillCase& f : fills)
        EXPECT_EQ(c.fill_at(centre(g.cell_rect(f.col, f.row))), f.fill) << f.col << "," << f.row;
    const ui::Rect start = g.cell_rect(3, 1), end = g.cell_rect(4, 2);
    EXPECT_TRUE(has_op(c, OpKind::Draw, ui::Point{start.left, start.top}));
    EXPECT_TRUE(has_op(c, OpKind::Draw, ui::Point{end.right - 10, end.bottom - 10}));
    const ui::Rect start_char = g.cell_rect(19, 1);
    EXPECT_TRUE(has_op(c, OpKind::Draw, ui::Point{start_char.left, start_char.top}));
    const ui::Rect header = g.cell_rect(5, 0);
    EXPECT_TRUE(has_op(c, OpKind::Draw, ui::Point{header.left - 1, header.top - 1}));
    const ui::Rect c16 = g.cell_rect(16, 3);
    EXPECT_TRUE(has_op(c, OpKind::Line, ui::Point{c16.right, c16.top - 1}));
    // The current cell is (20, 2): its mirror (4, 2) carries a focus rectangle.
    const ui::Rect mirror = g.cell_rect(4, 2);
    EXPECT_TRUE(std::any_of(c.ops().begin(), c.ops().end(),
                            [&](const auto& op) { return op.kind == OpKind::FocusRect && op.rect == mirror; }));
}

TEST_F(HexPageTest, BlockEndsPushEachOtherAndClearResetsThem)
{
    connect();
    receive(bytes_0_to(40));
    pick(6, 1);  // byte 5
    user.press("Ctrl+E");
    EXPECT_EQ(hex().block_end, 5);
    pick(5, 2);  // byte 20
    user.press("Ctrl+B");
    EXPECT_EQ(hex().block_start, 20);
    EXPECT_EQ(hex().block_end, 20);
    pick(4, 1);  // byte 3
    user.press("Ctrl+E");
    EXPECT_EQ(hex().block_start, 3);
    EXPECT_EQ(hex().block_end, 3);
    // Past the data nothing moves.
    pick(16, 3);  // byte 47
    user.press("Ctrl+E");
    user.press("Ctrl+B");
    EXPECT_EQ(hex().block_start, 3);
    EXPECT_EQ(hex().block_end, 3);
    user.click(m->tools.BtnClr);
    EXPECT_EQ(hex().block_start, 0);
    EXPECT_EQ(hex().block_end, 0);
    EXPECT_EQ(hex().DGhex.row_count(), 2);
}

TEST_F(HexPageTest, OptionsRefreshAndDoubleClicksCopyTheValue)
{
    connect();
    receive(std::string("\x41\x02", 2));
    pick(1, 1);
    user.click(hex().RBivlBin);
    EXPECT_EQ(hex().STival.caption(), " 0b01000001 ");
    EXPECT_TRUE(hex().DGhex.focused());
    user.dbl_click(hex().STival);
    EXPECT_EQ(ui::clipboard_text(), "0b01000001 ");
    user.click(hex().CBivHex);
    EXPECT_EQ(hex().STu16.caption(), " 0x0241");
    user.click(hex().CBivBe);
    EXPECT_EQ(hex().STu16.caption(), " 0x4102");
    user.press_arrow(hex().UDivarlen, ui::UpDownButton::Up);
    EXPECT_EQ(hex().Eivarlen.text(), "2");
    user.click(hex().RBivlHex);
    EXPECT_EQ(hex().STival.caption(), " 0x0241");
    user.press_arrow(hex().UDivarlen, ui::UpDownButton::Up);
    EXPECT_EQ(hex().STival.caption(), "") << "three bytes asked, two there";
    user.dbl_click(hex().STival);
    EXPECT_EQ(ui::clipboard_text(), "0b01000001 ") << "an empty field leaves the clipboard alone";
    user.dbl_click(hex().STrxposh);
    EXPECT_EQ(ui::clipboard_text(), "0x00000000");
    // The eighteen fields all copy.
    for (ui::StaticText* st : {&hex().STi8, &hex().STu8, &hex().STi16, &hex().STu16, &hex().STi24, &hex().STu24,
                               &hex().STi32, &hex().STu32, &hex().STi4lo, &hex().STu4lo, &hex().STi4hi, &hex().STu4hi,
                               &hex().STrxposd, &hex().STss, &hex().STsp, &hex().STsl}) {
        CopyTextToClipboard("-");
        user.dbl_click(*st);
        const std::string expect = st->caption().size() < 2 ? "-" : st->caption().substr(1);
        EXPECT_EQ(ui::clipboard_text(), expect) << st->name();
    }
}
