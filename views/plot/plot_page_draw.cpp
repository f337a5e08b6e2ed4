// Painting of the Plot page's chart: frame, axis texts, each shown series as
// min/max per pixel column (or a polyline where points are sparse), the
// legend with each series' last value, and the cursor with its values.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "views/plot/plot_page.h"

namespace {

constexpr ui::Color series_colors[plot_max_series] = {
    ui::Color::rgb(0, 90, 200),   ui::Color::rgb(220, 60, 30),   ui::Color::rgb(20, 150, 40),
    ui::Color::rgb(150, 60, 190), ui::Color::rgb(230, 150, 0),   ui::Color::rgb(0, 160, 170),
    ui::Color::rgb(200, 40, 130), ui::Color::rgb(100, 100, 100),
};

std::string axis_text(double x, bool time)
{
    char buf[40];
    if (time) {
        const long long ms = std::llround(std::fmod(x, 86400.0) * 1000.0);
        std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld.%03lld", ms / 3600000 % 24, ms / 60000 % 60,
                      ms / 1000 % 60, ms % 1000);
    } else {
        std::snprintf(buf, sizeof buf, "%.0f", x);
    }
    return buf;
}

std::string value_text(double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

}  // namespace

ui::Rect PlotPage::plot_rect() const
{
    const int w = PBplot.width(), h = PBplot.height();
    return ui::Rect{56, 8, std::max(w - 10, 57), std::max(h - 20, 9)};
}

double PlotPage::x_at(int px) const
{
    const ui::Rect r = plot_rect();
    const Window w = window();
    return w.x0 + (w.x1 - w.x0) * (px - r.left) / std::max(r.width(), 1);
}

PlotSpan PlotPage::value_range(int s, const Window& w) const
{
    PlotSpan span;
    auto take = [&](int i) { span.take(table_.span(i, table_.row_at_x(w.x0), table_.row_at_x(w.x1, true))); };
    if (s >= 0) {
        take(s);
    } else {
        for (int i = 0; i < table_.series_count(); ++i)
            if (series_shown(i)) take(i);
    }
    if (span.empty()) return span;
    // A flat series gets room around it; any other a small margin.
    const double pad = span.hi > span.lo ? (span.hi - span.lo) * 0.05 : std::max(std::abs(span.hi) * 0.1, 1.0);
    span.lo -= pad;
    span.hi += pad;
    return span;
}

void PlotPage::paint(ui::Canvas& c)
{
    const ui::Rect r = plot_rect();
    c.brush = ui::Brush{ui::colors::white};
    c.fill_rect(ui::Rect{0, 0, PBplot.width(), PBplot.height()});
    c.pen = ui::Pen{ui::Color::rgb(160, 160, 160)};
    c.brush.style = ui::BrushStyle::Clear;
    c.rectangle(ui::Rect{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1});
    if (table_.rows() == 0) return;

    const Window w = window();
    const bool own = CBplotOwn.checked();
    const PlotSpan shared = value_range(-1, w);
    c.brush = ui::Brush{ui::colors::white};
    c.text_out(ui::Point{r.left, r.bottom + 3}, axis_text(w.x0, time_axis_));
    const std::string right = axis_text(w.x1, time_axis_);
    c.text_out(ui::Point{r.right - c.text_width(right), r.bottom + 3}, right);
    if (!own && !shared.empty()) {
        c.text_out(ui::Point{2, r.top}, value_text(shared.hi));
        c.text_out(ui::Point{2, r.bottom - 12}, value_text(shared.lo));
    }

    if (own) {
        // Each series' own top and bottom, in its colour, one under another.
        int row = 0;
        const ui::Color text_color = c.font.color;
        for (int s = 0; s < table_.series_count(); ++s) {
            if (!series_shown(s)) continue;
            const PlotSpan scale = value_range(s, w);
            if (scale.empty()) continue;
            c.font.color = series_colors[s];
            c.text_out(ui::Point{2, r.top + row * 12}, value_text(scale.hi));
            c.text_out(ui::Point{2, r.bottom - 12 - row * 12}, value_text(scale.lo));
            ++row;
        }
        c.font.color = text_color;
    }

    const int columns = r.width();
    std::vector<PlotSpan> spans;
    std::vector<std::size_t> bounds;
    for (int s = 0; s < table_.series_count(); ++s) {
        if (!series_shown(s)) continue;
        const PlotSpan scale = own ? value_range(s, w) : shared;
        if (scale.empty()) continue;
        auto y_of = [&](double v) {
            const double f = (v - scale.lo) / (scale.hi - scale.lo);
            return r.bottom - 1 - int(std::lround(std::clamp(f, 0.0, 1.0) * (r.height() - 1)));
        };
        auto x_of = [&](double x) { return r.left + int(std::lround((x - w.x0) / (w.x1 - w.x0) * (columns - 1))); };
        c.pen = ui::Pen{series_colors[s]};
        const std::size_t a = table_.row_at_x(w.x0), b = table_.row_at_x(w.x1, true);
        if (b - a <= std::size_t(columns)) {
            // Few points: a polyline through each, broken where a value is missing.
            bool open = false;
            for (std::size_t row = a; row < b; ++row) {
                if (!table_.has(s, row)) {
                    open = false;
                    continue;
                }
                const ui::Point p{x_of(table_.x(row)), y_of(table_.value(s, row))};
                if (open) {
                    c.line_to(p);
                } else {
                    c.move_to(p);
                    c.line(p, ui::Point{p.x + 1, p.y});  // a lone point still shows
                }
                open = true;
            }
            continue;
        }
        if (bounds.empty()) table_.column_rows(w.x0, w.x1, columns, bounds);
        table_.decimate(s, bounds, spans);
        PlotSpan prev;
        for (int col = 0; col < columns; ++col) {
            PlotSpan cell = spans[std::size_t(col)];
            if (cell.empty()) {
                prev = cell;
                continue;
            }
            // Reach the previous column, so the trace stays joined.
            PlotSpan drawn = cell;
            if (!prev.empty() && prev.hi < cell.lo) drawn.take(prev.hi);
            if (!prev.empty() && prev.lo > cell.hi) drawn.take(prev.lo);
            c.line(ui::Point{r.left + col, y_of(drawn.hi)}, ui::Point{r.left + col, y_of(drawn.lo) + 1});
            prev = cell;
        }
    }

    // Legend: name and last value of each shown series, on a box of its own
    // so the traces under it do not run through the text.
    int legend_w = 0, legend_rows = 0;
    const int named = std::min(int(parser_.names().size()), plot_max_series);
    for (int s = 0; s < named; ++s)
        if (series_shown(s)) {
            legend_w =
                std::max(legend_w, c.text_width(parser_.names()[std::size_t(s)] + ": " + last_text_[std::size_t(s)]));
            ++legend_rows;
        }
    if (legend_rows > 0) {
        c.pen = ui::Pen{ui::Color::rgb(160, 160, 160)};
        c.brush = ui::Brush{ui::colors::white};
        c.rectangle(ui::Rect{r.left + 2, r.top + 2, r.left + 26 + legend_w, r.top + 7 + legend_rows * 14});
    }
    int ly = r.top + 4;
    for (int s = 0; s < named; ++s) {
        if (!series_shown(s)) continue;
        c.brush = ui::Brush{series_colors[s]};
        c.fill_rect(ui::Rect{r.left + 6, ly + 2, r.left + 16, ly + 12});
        c.brush = ui::Brush{ui::colors::white};
        c.text_out(ui::Point{r.left + 20, ly}, parser_.names()[std::size_t(s)] + ": " + last_text_[std::size_t(s)]);
        ly += 14;
    }

    if (has_cursor_ && cursor_x_ >= w.x0 && cursor_x_ <= w.x1) {
        const int cx = r.left + int(std::lround((cursor_x_ - w.x0) / (w.x1 - w.x0) * (columns - 1)));
        c.pen = ui::Pen{ui::colors::black, 1, ui::PenStyle::Dot};
        c.line(ui::Point{cx, r.top}, ui::Point{cx, r.bottom});
        const std::string t = cursor_text();
        const int tw = c.text_width(t);
        const int tx = cx + 4 + tw < r.right ? cx + 4 : std::max(cx - 4 - tw, r.left);
        c.text_out(ui::Point{tx, r.bottom - 16}, t);
    }
}
