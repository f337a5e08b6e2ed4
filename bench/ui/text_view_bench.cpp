// Text view benchmark (run by hand: bin/bench_text_view [lines]): fills the view
// with 5,000,000 lines of ~40 characters (~200 MB) and prints the time per
// append and per replace of the last line (early and late, to show they stay
// constant), the time to paint one screen, the time to toggle word wrap, and memory.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/ui/paint_probe.h"
#include "ui/draw_grid.h"
#include "ui/form.h"
#include "ui/text_view.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Lines of 20 to 60 characters, 40 on average, with some that wrap.
std::string make_line(long i)
{
    static const char words[] = "the quick brown fox jumps over a lazy dog 0123456789 ABCDEFGHIJ";
    char head[16];
    std::snprintf(head, sizeof head, "%07ld ", i);
    return std::string(head) + std::string(words, static_cast<std::size_t>(12 + (i * 7) % 41));
}

}  // namespace

int main(int argc, char** argv)
{
    long n = argc > 1 ? std::atol(argv[1]) : 5000000;
    const long batch = 100000;
    ui::Form form("BenchForm");
    ui::TextView view(&form, "Mtxt");
    bench::PaintProbe probe(form, view, 1000, 600);

    std::printf("text view bench: %ld lines, view %dx%d px (%d cols x %d rows)\n", n, 1000, 600, view.page_cols(),
                view.page_rows());
    // Appends in batches: the first and last batch show whether the cost grows.
    double first_batch = 0, last_batch = 0;
    auto t_all = Clock::now();
    for (long done = 0; done < n;) {
        long todo = std::min(batch, n - done);
        auto t0 = Clock::now();
        view.begin_update();
        for (long i = 0; i < todo; ++i) view.add_line(make_line(done + i));
        view.end_update();
        double ms = ms_since(t0);
        if (done == 0) first_batch = ms;
        last_batch = ms;
        done += todo;
    }
    double all_ms = ms_since(t_all);
    std::printf("append: %.1f ns/line in the first %ld, %.1f ns/line in the last %ld; total %.2f s\n",
                first_batch * 1e6 / batch, batch, last_batch * 1e6 / batch, batch, all_ms / 1000);
    std::printf("text: %.1f MB in %d lines; store %.1f MB\n", view.lines().char_count() / 1e6, view.line_count(),
                view.lines().memory_bytes() / 1e6);

    // Replacing the last line as the received-text conversion does (read, extend, replace).
    const int reps = 200000;
    auto t0 = Clock::now();
    for (int i = 0; i < reps; ++i) {
        std::string last = view.last_line();
        last.back() = static_cast<char>('a' + i % 26);
        view.replace_last_line(last);
    }
    std::printf("read+replace last line: %.1f ns/op at %d lines (outside an update bracket)\n",
                ms_since(t0) * 1e6 / reps, view.line_count());
    t0 = Clock::now();
    view.begin_update();
    for (int i = 0; i < reps; ++i) view.append_to_last_line("x");
    view.end_update();
    std::printf("append to last line: %.1f ns/op\n", ms_since(t0) * 1e6 / reps);
    view.replace_last_line(make_line(n - 1));

    auto paint_at = [&](const char* what) {
        double best = 1e9;
        for (int i = 0; i < 5; ++i) best = std::min(best, probe.paint_ms());
        std::printf("paint one screen (%s, top row %llu): %.3f ms\n", what,
                    static_cast<unsigned long long>(view.top_row()), best);
    };
    view.set_top_row(0);
    paint_at("top");
    view.set_top_row(view.max_top_row() / 2);
    paint_at("middle");
    view.scroll_lines(1 << 30);
    paint_at("bottom");
    view.select({10, 3}, {view.lines().count() - 5, 7});
    paint_at("bottom, selected");

    for (int round = 0; round < 2; ++round) {
        t0 = Clock::now();
        view.set_word_wrap(true);
        std::uint64_t rows = view.row_count();
        double on_ms = ms_since(t0);
        double paint_ms = probe.paint_ms();
        std::printf("word wrap on: %.1f ms (%llu rows), then a paint %.3f ms\n", on_ms,
                    static_cast<unsigned long long>(rows), paint_ms);
        view.set_top_row(view.max_top_row() / 3);
        paint_at("wrapped, a third down");
        t0 = Clock::now();
        view.set_word_wrap(false);
        rows = view.row_count();
        std::printf("word wrap off: %.3f ms (%llu rows)\n", ms_since(t0), static_cast<unsigned long long>(rows));
    }
    double best = 1e9;
    std::size_t copied = 0;
    for (int i = 0; i < 3; ++i) {
        t0 = Clock::now();
        copied = view.text_prefix(1 << 20).size();
        best = std::min(best, ms_since(t0));
    }
    std::printf("window text, first %zu characters: %.3f ms\n", copied, best);
    std::printf("process memory: %s\n", bench::memory_text().c_str());

    // The grid set up as the hex view, at its largest row count: a paint costs the
    // visible cells only, wherever it is scrolled.
    ui::Form grid_form("GridBenchForm");
    ui::DrawGrid grid(&grid_form, "DGhex");
    grid.set_col_count(33);
    grid.set_default_row_height(22);
    grid.set_col_width(0, 90);
    for (int c = 1; c <= 32; ++c) grid.set_col_width(c, c <= 16 ? 20 : 14);
    long cells = 0;
    grid.on_draw_cell = [&cells](ui::Canvas& c, std::int32_t col, std::int32_t row, const ui::Rect& r,
                                 ui::GridDrawState) {
        ++cells;
        char text[16];
        std::snprintf(text, sizeof text, col == 0 ? "0x%08X" : "%02X", col == 0 ? (row - 1) * 16 : (row + col) & 0xFF);
        c.text_out(ui::Point{r.left + 2, r.top + 4}, text);
    };
    bench::PaintProbe grid_probe(grid_form, grid, 700, 500);
    grid.set_row_count(ui::GridNav::kMaxRows);
    for (std::int32_t row : {1, ui::GridNav::kMaxRows / 2, ui::GridNav::kMaxRows - 1}) {
        grid.set_current(32, row);
        double best = 1e9;
        for (int i = 0; i < 5; ++i) {
            cells = 0;
            best = std::min(best, grid_probe.paint_ms());
        }
        std::printf("grid of %d rows, current row %d: paint %.3f ms, %ld cells painted\n", grid.row_count(), row, best,
                    cells);
    }
    return 0;
}
