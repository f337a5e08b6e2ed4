// The Traffic page headless over a link whose record the test fills as the
// drains would: rows and their texts, colours, following, selection and copy,
// the frame rules, the CSV export and a clear.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "link/sim_port_driver.h"
#include "tests/link/rx_feed.h"
#include "ui/form.h"
#include "ui/headless/user.h"
#include "ui/page_control.h"
#include "ui/services.h"
#include "views/traffic/traffic_page.h"

namespace {

using ui::headless::OpKind;
constexpr std::uint32_t two_pm = 14 * 3600000;

class TrafficPageTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        form.set_bounds(0, 0, 800, 600);
        pages.set_align(ui::Align::Client);
        page.lay_out();
        form.show();
        user.select_tab(pages, 1);
        rx_feed_open(link);
        link.rx_side().reads.create();
        ASSERT_EQ(link.rx_store_init(4096), 0);
        link.traffic().anchor(0, two_pm);
    }
    // A read of `bytes` at `ms`, drained into the store.
    void receive(double ms, const std::string& bytes)
    {
        {
            RxSide& side = link.rx_side();
            std::lock_guard hold(side.lock);
            ASSERT_EQ(fifo_put(side.fifo, bytes.data(), std::int32_t(bytes.size())), 0);
            side.reads.note(std::int32_t(bytes.size()), std::int64_t(ms * 1000));
        }
        ASSERT_EQ(link.rx_store_append(), 0);
    }
    void send(double ms, const std::string& bytes)
    {
        link.traffic().tx_writes({{std::int64_t(ms * 1000), std::int32_t(bytes.size())}},
                                 reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    void conversation()
    {
        send(0, "PING\r");
        receive(41.2, "PONG\r");
        receive(100, std::string("\x1b[0m\0", 5));
        page.refresh();
    }
    std::vector<std::string> rows() const
    {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < page.frames().size(); ++i) out.push_back(page.row_text(i));
        return out;
    }

    ui::headless::User user;
    ui::Form form{"TrafficForm"};
    ui::PageControl pages{&form, "PCd"};
    ui::TabSheet plot_sheet{pages, "TSplot", "Plot"};
    ui::TabSheet sheet{pages, "TStraffic", "Traffic"};
    SimPortDriver sim;
    SerialLink link{sim};
    int line_break = 0;
    bool follow = true;
    TrafficPage page{&sheet, link, {[this] { return line_break; }, [this] { return follow; }}};
};

using Rows = std::vector<std::string>;

TEST_F(TrafficPageTest, RowsShowTimeDirectionGapReplyLengthAndData)
{
    conversation();
    EXPECT_EQ(rows(),
              (Rows{"14:00:00.000\tTX\t\t\t5\tPING<CR>", "14:00:00.041\tRX\t+41.2 ms\treply 41.2 ms\t5\tPONG<CR>",
                    "14:00:00.100\tRX\t+58.8 ms\t\t5\t<1B>[0m<NUL>"}));
    EXPECT_EQ(page.LtrReply.caption(), "reply: 1, min 41.2 ms, median 41.2 ms, max 41.2 ms");
    user.click(page.CBtrHex);
    EXPECT_EQ(page.row_text(0), "14:00:00.000\tTX\t\t\t5\t50 49 4E 47 0D");
    // The labels stand before their controls, where the GUI driver looks.
    EXPECT_EQ(page.LtrGap.caption(), "Frame gap [ms]:");
    EXPECT_LT(page.LtrGap.left(), page.EtrGap.left());
}

TEST_F(TrafficPageTest, EachDirectionPaintsInItsOwnColourAndOnlyRowsOnScreen)
{
    for (int i = 0; i < 2000; ++i) send(i * 50.0, "x");
    conversation();
    page.DGtraffic.set_top_row(1);
    const ui::headless::RecordingCanvas c = user.paint(page.DGtraffic);
    int tx = 0, rx = 0, texts = 0;
    for (const auto& op : c.ops()) {
        if (op.kind != OpKind::Text) continue;
        ++texts;
        if (op.text == "TX" && op.font.color == TrafficPage::tx_color) ++tx;
        if (op.text == "RX" && op.font.color == TrafficPage::rx_color) ++rx;
    }
    EXPECT_GT(tx, 10);
    EXPECT_LT(texts, 600) << "only the rows on screen are painted";
    // Following: the newest rows are the current ones, in their colour.
    EXPECT_EQ(page.DGtraffic.row(), page.DGtraffic.row_count() - 1);
    page.DGtraffic.set_top_row(page.DGtraffic.row_count() - 3);
    const ui::headless::RecordingCanvas end = user.paint(page.DGtraffic);
    for (const auto& op : end.ops())
        if (op.kind == OpKind::Text && op.text == "RX") ++rx;
    EXPECT_GT(rx, 0);
}

TEST_F(TrafficPageTest, ShiftSelectsRowsAndCtrlCCopiesThem)
{
    follow = false;
    conversation();
    user.click_at(page.DGtraffic, ui::Point{40, 16 + 16 + 4});  // the second row
    EXPECT_EQ(page.selection_first(), 1u);
    user.hold_shift(true);
    user.press(ui::keys::Down, ui::ShiftState{true});
    user.hold_shift(false);
    EXPECT_EQ(page.selection_first(), 1u);
    EXPECT_EQ(page.selection_last(), 2u);
    user.press(ui::keys::Up, ui::ShiftState{true});  // without Shift held in the world: a new anchor
    user.press('C', ui::ShiftState{false, true});
    EXPECT_EQ(ui::clipboard_text(), page.row_text(1) + "\r\n");
    user.hold_shift(true);
    user.press(ui::keys::Down, ui::ShiftState{true});
    user.hold_shift(false);
    user.press('C', ui::ShiftState{false, true});
    EXPECT_EQ(ui::clipboard_text(), page.row_text(1) + "\r\n" + page.row_text(2) + "\r\n");
}

TEST_F(TrafficPageTest, FrameRulesCutAgainAndAreKept)
{
    receive(0, "a\rb\r");
    receive(10, "c");
    page.refresh();
    EXPECT_EQ(page.frames().size(), 1u);
    user.click(page.CBtrLines);
    EXPECT_EQ(page.frames().size(), 3u);
    line_break = 1;  // LF on the Text page: no mark in these bytes
    page.refresh();
    EXPECT_EQ(page.frames().size(), 1u);
    user.type(page.EtrGap, "\b\b5");
    EXPECT_EQ(page.frames().size(), 2u);  // 10 ms apart now splits
    user.type(page.EtrGap, "0000");       // 50000 is out of range
    user.focus(page.CBtrHex);
    EXPECT_EQ(page.EtrGap.text(), "10000");
    EXPECT_EQ(page.settings().frame_gap_ms, 10000);
    EXPECT_TRUE(page.settings().split_lines);
    page.apply(TrafficSettings{0, false, true});
    EXPECT_EQ(page.EtrGap.text(), "1");
    EXPECT_TRUE(page.CBtrHex.checked());
}

TEST_F(TrafficPageTest, SaveAsCsvWritesEveryFrameAndAClearEmptiesThePage)
{
    conversation();
    const std::string path = (std::filesystem::temp_directory_path() / "olvex_traffic_test.csv").string();
    user.pick_file(path);
    user.click(page.BtnTrCsv);
    std::ifstream in(path, std::ios::binary);
    std::stringstream got;
    got << in.rdbuf();
    EXPECT_EQ(got.str(),
              "time,dir,gap_ms,reply_ms,length,hex,text\r\n"
              "14:00:00.000,TX,,,5,50 49 4E 47 0D,\"PING<CR>\"\r\n"
              "14:00:00.041,RX,41.200,41.200,5,50 4F 4E 47 0D,\"PONG<CR>\"\r\n"
              "14:00:00.100,RX,58.800,,5,1B 5B 30 6D 00,\"<1B>[0m<NUL>\"\r\n");
    std::filesystem::remove(path);

    ASSERT_EQ(link.rx_store_init(4096), 0);  // "Clear rx data"
    page.refresh();
    EXPECT_EQ(page.frames().size(), 0u);
    EXPECT_EQ(page.DGtraffic.row_count(), 2);
    EXPECT_EQ(page.LtrReply.caption(), "reply: none");
}

}  // namespace
