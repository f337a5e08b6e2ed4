// The Plot page on the headless backend beside a text view that the test
// fills as the text conversion would: feeding, pause, zoom, pan, cursor,
// the spike that must survive decimation, the export and the settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ui/form.h"
#include "ui/headless/user.h"
#include "ui/page_control.h"
#include "views/plot/plot_page.h"

namespace {

using ui::headless::OpKind;

class PlotPageTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        form.set_bounds(0, 0, 800, 600);
        pages.set_align(ui::Align::Client);
        text.set_align(ui::Align::Client);
        page.lay_out();
        form.show();
        user.select_tab(pages, 1);
    }
    // Lines "i,i*i" for i in [from, to), each ended, as a drain leaves them:
    // the view's last line is the open, empty one.
    void squares(int from, int to)
    {
        for (int i = from; i < to; ++i) {
            text.append_to_last_line(std::to_string(i) + "," + std::to_string(i * i));
            text.add_line("");
        }
        page.feed();
    }
    ui::Point at_x(double x)
    {
        const PlotPage::Window w = page.window();
        // The chart's plot area starts 56 pixels in and ends 10 before the right.
        const double width = page.PBplot.width() - 10 - 56;
        return ui::Point{56 + int(std::lround((x - w.x0) / (w.x1 - w.x0) * width)), 100};
    }

    ui::headless::User user;
    ui::Form form{"PlotForm"};
    ui::PageControl pages{&form, "PCd"};
    ui::TabSheet text_sheet{pages, "TabSheet1", "Text"};
    ui::TabSheet plot_sheet{pages, "TSplot", "Plot"};
    ui::TextView text{&text_sheet, "Mtxt"};
    PlotPage page{&plot_sheet, text};
};

TEST_F(PlotPageTest, LinesAreParsedOnceWhenCompleteAndAClearStartsOver)
{
    text.add_line("1, 2");
    page.feed();
    EXPECT_EQ(page.table().rows(), 0u) << "the last line may still grow";
    text.append_to_last_line("0");  // the rest of "1, 20" in the next drain
    text.add_line("no numbers");
    text.add_line("");
    text.add_line("a=5");
    page.feed();
    page.feed();
    ASSERT_EQ(page.table().rows(), 1u);
    EXPECT_EQ(page.table().value(1, 0), 20.0);
    EXPECT_EQ(page.LplotStatus.caption(), "skipped: 1 lines");
    text.add_line("7");
    page.feed();
    ASSERT_EQ(page.table().rows(), 2u);
    EXPECT_EQ(page.table().line_number(1), 4u);
    EXPECT_TRUE(page.CBplotS3.visible());
    EXPECT_EQ(page.CBplotS3.caption(), "a");
    EXPECT_FALSE(page.CBplotS4.visible());

    text.clear();
    squares(0, 3);
    EXPECT_EQ(page.table().rows(), 3u);
    EXPECT_EQ(page.LplotStatus.caption(), "skipped: 0 lines");
    EXPECT_FALSE(page.CBplotS3.visible());
}

TEST_F(PlotPageTest, StampedLinesPutTheAxisInSecondsAndItRunsOnPastMidnight)
{
    for (const char* line : {"23:59:59.500 1", "23:59:59.900 no number", "00:00:00.250 2", "3", "00:00:01.000 4"}) {
        text.append_to_last_line(line);
        text.add_line("");
    }
    page.feed();
    ASSERT_EQ(page.table().rows(), 4u);
    // "3" shares its stamp with the line before: spread up to the next one.
    const double xs[] = {86399.5, 86400.25, 86400.625, 86401.0};
    for (std::size_t r = 0; r < 4; ++r) EXPECT_DOUBLE_EQ(page.table().x(r), xs[r]) << r;
    EXPECT_EQ(page.LplotStatus.caption(), "skipped: 1 lines");
}

TEST_F(PlotPageTest, PauseFreezesTheWindowWhileDataArrivesAndZoomKeepsThePointerOrTheNewestRow)
{
    squares(0, 101);
    EXPECT_EQ(page.window().x0, 1);
    EXPECT_EQ(page.window().x1, 101);

    // Following: zooming in keeps the newest row at the right edge.
    user.wheel(page.PBplot, at_x(30), 1);
    EXPECT_DOUBLE_EQ(page.window().x1, 101);
    EXPECT_DOUBLE_EQ(page.window().x0, 101 - 80);
    squares(101, 121);
    EXPECT_DOUBLE_EQ(page.window().x1, 121);

    user.click(page.CBplotPause);
    const PlotPage::Window frozen = page.window();
    squares(121, 200);
    EXPECT_EQ(page.table().rows(), 200u) << "data keeps arriving while paused";
    EXPECT_EQ(page.window().x0, frozen.x0);
    EXPECT_EQ(page.window().x1, frozen.x1);

    // Paused: the point under the pointer stays under it.
    const ui::Point p = at_x(60);
    user.wheel(page.PBplot, p, 2);
    EXPECT_NEAR(page.window().x1 - page.window().x0, 80 * 0.64, 1e-9);
    EXPECT_NEAR(at_x(60).x, p.x, 1);
    user.wheel(page.PBplot, p, -50);
    EXPECT_GT(page.window().x1 - page.window().x0, 1000) << "zooming out is not clamped while paused";

    user.click(page.CBplotPause);
    EXPECT_EQ(page.window().x1, 200);
    user.wheel(page.PBplot, p, -50);
    EXPECT_EQ(page.window().x0, 1) << "zoomed out past the data: all of it";
}

TEST_F(PlotPageTest, DragPansOnlyWhilePausedAndAClickShowsTheValuesAsWritten)
{
    squares(0, 201);
    const PlotPage::Window before = page.window();
    user.drag(page.PBplot, ui::Point{300, 100}, ui::Point{200, 100});
    EXPECT_EQ(page.window().x0, before.x0);
    EXPECT_EQ(page.cursor_text(), "") << "a drag is no click";

    user.click(page.CBplotPause);
    user.drag(page.PBplot, ui::Point{300, 100}, ui::Point{200, 100});
    const double per_pixel = (before.x1 - before.x0) / (page.PBplot.width() - 66);
    EXPECT_NEAR(page.window().x0, before.x0 + 100 * per_pixel, 1e-9);
    EXPECT_NEAR(page.window().x1, before.x1 + 100 * per_pixel, 1e-9);

    user.click_at(page.PBplot, at_x(50));
    EXPECT_EQ(page.cursor_text(), "line 50  1=49  2=2401");
    user.click(page.CBplotS2);  // hidden series leave the cursor too
    EXPECT_EQ(page.cursor_text(), "line 50  1=49");
    const auto shown = user.paint(page.PBplot);
    EXPECT_TRUE(std::any_of(shown.ops().begin(), shown.ops().end(),
                            [](const auto& op) { return op.kind == OpKind::Text && op.text == "line 50  1=49"; }));
}

TEST_F(PlotPageTest, ASingleSpikeAmongManyRowsReachesTheTopOfTheChart)
{
    for (int i = 0; i < 20000; ++i) {
        text.append_to_last_line(i == 12345 ? "v=1000" : "v=1");
        text.add_line("");
    }
    page.feed();
    const auto c = user.paint(page.PBplot);
    // The plot area's first pixel row is 8; the scale pads 5 % above the spike.
    int top = 1 << 20;
    for (const auto& op : c.ops())
        if (op.kind == OpKind::Line && op.pen.color == ui::Color::rgb(0, 90, 200))
            top = std::min({top, op.a.y, op.b.y});
    EXPECT_LT(top, 40);
    EXPECT_TRUE(std::any_of(c.ops().begin(), c.ops().end(),
                            [](const auto& op) { return op.kind == OpKind::Text && op.text == "v: 1"; }));
}

TEST_F(PlotPageTest, LinesOfOneStampAreSpreadToTheNextAndAClearDropsTheZoom)
{
    // Ten lines per drain stamp, a second apart: a wave, not steps.
    for (int i = 0; i < 30; ++i) {
        char line[40];
        std::snprintf(line, sizeof line, "00:00:%02d.000 v=%d", i / 10 + 1, i);
        text.append_to_last_line(line);
        text.add_line("");
    }
    page.feed();
    ASSERT_EQ(page.table().rows(), 30u);
    for (std::size_t r = 1; r < 20; ++r) EXPECT_NEAR(page.table().x(r) - page.table().x(r - 1), 0.1, 1e-9) << r;
    EXPECT_DOUBLE_EQ(page.table().x(29), 3) << "the newest stamp waits for its successor";

    user.wheel(page.PBplot, at_x(2), 3);
    ASSERT_LT(page.window().x1 - page.window().x0, 1.5);
    text.clear();
    squares(0, 5);
    EXPECT_EQ(page.window().x0, 1);
    EXPECT_EQ(page.window().x1, 5) << "the old zoom is gone with its data";
}

TEST_F(PlotPageTest, MoreSeriesThanBoxesAreSaidAndOwnScalesAreLabelledInTheirColours)
{
    text.append_to_last_line("1 2 3 4 5 6 7 8 9 10 11 12");
    text.add_line("");
    text.append_to_last_line("2 4 6 8 10 12 14 16 18 20 22 24");
    text.add_line("");
    page.feed();
    EXPECT_EQ(page.LplotStatus.caption(), "skipped: 0 lines, 12 series, 8 drawn");
    user.click(page.CBplotS8);
    EXPECT_EQ(page.LplotStatus.caption(), "skipped: 0 lines, 12 series, 7 drawn");
    user.click(page.CBplotOwn);
    const auto c = user.paint(page.PBplot);
    // Series 1 runs from 1 to 2 and series 2 from 2 to 4, each padded 5 %.
    auto label = [&](const char* t, ui::Color color) {
        return std::any_of(c.ops().begin(), c.ops().end(), [&](const auto& op) {
            return op.kind == OpKind::Text && op.text == t && op.font.color == color;
        });
    };
    EXPECT_TRUE(label("2.05", ui::Color::rgb(0, 90, 200)));
    EXPECT_TRUE(label("0.95", ui::Color::rgb(0, 90, 200)));
    EXPECT_TRUE(label("4.1", ui::Color::rgb(220, 60, 30)));
}

TEST_F(PlotPageTest, ExportWritesEveryRowAndRemembersTheFolderAndSettingsRoundTrip)
{
    squares(0, 5);
    text.append_to_last_line("x=2.50");
    text.add_line("");
    page.feed();
    const auto dir = std::filesystem::temp_directory_path() / "olvex_plot_export";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "out.csv").string();
    user.pick_file(path);
    user.click(page.BtnPlotCsv);
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    EXPECT_EQ(all.str(), "line,1,2,x\r\n1,0,0,\r\n2,1,1,\r\n3,2,4,\r\n4,3,9,\r\n5,4,16,\r\n6,,,2.50\r\n");
    EXPECT_EQ(page.SDplot.initial_dir, dir.string());
    std::filesystem::remove_all(dir);

    page.apply(PlotSettings{true, 0x05});
    EXPECT_TRUE(page.CBplotOwn.checked());
    EXPECT_FALSE(page.CBplotS2.checked());
    EXPECT_EQ(page.settings().shown_series, 0x05);
    EXPECT_TRUE(page.settings().own_scale);
}

}  // namespace
