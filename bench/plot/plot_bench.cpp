// Plot page benchmark (run by hand: bin/bench_plot [lines]; under Wine the
// repaints are real GDI paints of the chart's window). Eight series at 1,000
// lines a second arrive in 100-line drains, each drain added to the text view
// as the conversion adds it, then fed to the page and the shown chart
// repainted; then the table grows to a million rows and the whole chart is
// repainted from it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/page_control.h"
#include "views/plot/plot_page.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Eight readings of line i with the look of sensor output.
std::string reading(long i)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, "%ld,%.3f,%.2f,%ld,%.4f,%ld,%.1f,%d", i, (i % 1000) * 0.125, -(i % 377) * 1.5,
                  (i * 7) % 4096, (i % 50) * 0.0625, 1000 - i % 2000, (i % 360) * 0.5, int(i % 2));
    return buf;
}

struct Drains {
    double step_max = 0, feed_max = 0, feed_total = 0, text_total = 0;
    long lines = 0;
};

// Adds `lines` readings in drains of `per_drain`, as Timer1 would.
void run(ui::TextView& text, PlotPage& page, long from, long lines, int per_drain, bool repaint, Drains& d)
{
    for (long done = 0; done < lines; done += per_drain) {
        const auto t0 = Clock::now();
        text.begin_update();
        for (int k = 0; k < per_drain; ++k) {
            text.append_to_last_line(reading(from + done + k));
            text.add_line("");
        }
        text.end_update();
        const auto t1 = Clock::now();
        page.feed();
        const double feed = ms_since(t1);
        if (repaint) page.PBplot.update();
        const double step = ms_since(t0);
        d.text_total += std::chrono::duration<double, std::milli>(t1 - t0).count();
        d.feed_total += feed;
        d.feed_max = std::max(d.feed_max, feed);
        d.step_max = std::max(d.step_max, step);
        d.lines += per_drain;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const long lines = argc > 1 ? std::atol(argv[1]) : 600000;
    ui::Form form{"PlotBench"};
    form.set_bounds(0, 0, 1000, 700);
    ui::PageControl pages{&form, "PCd"};
    pages.set_align(ui::Align::Client);
    ui::TabSheet text_sheet{pages, "TabSheet1", "Text"};
    ui::TabSheet plot_sheet{pages, "TSplot", "Plot"};
    ui::TextView text{&text_sheet, "Mtxt"};
    PlotPage page{&plot_sheet, text};
    page.lay_out();
    form.show();
    pages.set_active_page_index(1);
    text.add_line("");

    Drains shown;
    run(text, page, 0, lines, 100, true, shown);
    std::printf("%ld lines of 8 series in drains of 100, page shown:\n", shown.lines);
    std::printf("  longest drain step (text + feed + repaint): %.2f ms\n", shown.step_max);
    std::printf("  longest feed: %.2f ms; parse and store: %.3f us per line (text view: %.3f us per line)\n",
                shown.feed_max, shown.feed_total * 1000.0 / double(shown.lines),
                shown.text_total * 1000.0 / double(shown.lines));
    std::printf("  skipped: %zu, rows: %zu\n", page.skipped(), page.table().rows());

    Drains rest;
    if (page.table().rows() < 1000000)
        run(text, page, shown.lines, 1000000 - long(page.table().rows()), 1000, false, rest);
    page.PBplot.invalidate();
    page.PBplot.update();
    double paint_max = 0, paint_total = 0;
    const int paints = 20;
    for (int i = 0; i < paints; ++i) {
        const auto t0 = Clock::now();
        page.PBplot.invalidate();
        page.PBplot.update();
        const double ms = ms_since(t0);
        paint_total += ms;
        paint_max = std::max(paint_max, ms);
    }
    std::printf("full repaint, %zu points per series: %.2f ms average, %.2f ms longest\n", page.table().rows(),
                paint_total / paints, paint_max);
    // The decimation alone, without drawing: what the index costs a repaint.
    std::vector<PlotSpan> spans;
    std::vector<std::size_t> bounds;
    const auto t0 = Clock::now();
    page.table().column_rows(page.table().x(0), page.table().x(page.table().rows() - 1), 934, bounds);
    for (int s = 0; s < plot_max_series; ++s) page.table().decimate(s, bounds, spans);
    std::printf("decimation of 8 series into 934 columns: %.2f ms\n", ms_since(t0));
    std::printf("table memory: %.1f MB; text view memory: %.1f MB\n", page.table().memory_bytes() / 1048576.0,
                text.lines().memory_bytes() / 1048576.0);
    return 0;
}
