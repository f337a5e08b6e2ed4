// The Plot page's table: per parsed line its line number, its place on the
// time axis, each series' value and the values' text as written, kept in
// fixed pages so a million rows never need one large block, with a min/max
// index per block of rows so a repaint never walks every point.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/paged_array.h"
#include "views/plot/plot_parse.h"

// The lowest and highest value over some rows; empty when lo > hi.
// Written without branches: a repaint takes tens of thousands of them. A NaN
// (an absent value) leaves the span as it was, since every comparison with it
// is false.
struct PlotSpan {
    double lo = std::numeric_limits<double>::infinity(), hi = -std::numeric_limits<double>::infinity();
    bool empty() const { return !(lo <= hi); }
    void take(double v)
    {
        lo = v < lo ? v : lo;
        hi = v > hi ? v : hi;
    }
    void take(const PlotSpan& s)
    {
        lo = s.lo < lo ? s.lo : lo;
        hi = s.hi > hi ? s.hi : hi;
    }
};

class PlotSeries {
 public:
    // Rows per block of the fine and the coarse index: a pixel column's span
    // takes its ragged ends row by row, then fine blocks up to a coarse
    // boundary, then coarse blocks, so a repaint visits a few dozen entries
    // per column whatever the zoom.
    static constexpr std::size_t kBlock = 16, kCoarse = 256;

    // memory_limit: bytes the table may hold before add() refuses rows.
    explicit PlotSeries(std::size_t memory_limit = std::size_t{512} << 20) : memory_limit_(memory_limit) {}

    // Appends a row for a parsed line; false (nothing stored) once the table
    // has reached its memory limit.
    bool add(std::uint32_t line_number, double x, const PlotLine& parsed);
    void clear();

    std::size_t rows() const { return lines_.size(); }
    int series_count() const { return series_count_; }
    std::uint32_t line_number(std::size_t row) const { return lines_[row]; }
    double x(std::size_t row) const { return x_[row]; }
    bool has(int s, std::size_t row) const { return s < series_count_ && !std::isnan(values_[s][row]); }
    // NaN where the series had no value in that row.
    double value(int s, std::size_t row) const;
    // The values' texts as written, in series order, for the series present.
    std::vector<std::string_view> texts(std::size_t row, std::string& scratch) const;
    // Every series' text in the row, drawn or not, as (series, text) in series order
    // for the drawn ones, then the others as the line gave them.
    std::vector<std::pair<int, std::string_view>> cells(std::size_t row, std::string& scratch) const;
    // Where the rows' times are spread out: row `row` gets x.
    void set_x(std::size_t row, double x) { x_[row] = x; }

    // Lowest and highest value of series s over rows [from, to).
    PlotSpan span(int s, std::size_t from, std::size_t to) const;
    // The axis from x0 to x1 (both ends included) split evenly into `columns`
    // pixel columns; the span of the rows in each, so no spike is lost at any zoom.
    void decimate(int s, double x0, double x1, int columns, std::vector<PlotSpan>& out) const;
    // The same in two steps, so that series sharing the axis share its search:
    // the first row of each column and the end of the last (columns + 1 rows),
    // then each series' spans over those rows.
    void column_rows(double x0, double x1, int columns, std::vector<std::size_t>& bounds) const;
    void decimate(int s, const std::vector<std::size_t>& bounds, std::vector<PlotSpan>& out) const;
    // The first row whose x is not below `x`, or with after, above it (x never
    // decreases from row to row).
    std::size_t row_at_x(double x, bool after = false) const;

    std::size_t memory_bytes() const;

 private:
    using Values = ui::PagedArray<double, 15>;
    ui::PagedArray<std::uint32_t, 16> lines_;
    ui::PagedArray<double, 15> x_;
    ui::PagedArray<std::uint32_t, 16> text_starts_;
    ui::PagedArray<char, 20> text_;
    std::array<Values, plot_max_series> values_;
    std::array<ui::PagedArray<PlotSpan, 12>, plot_max_series> blocks_, coarse_;
    int series_count_ = 0;
    std::size_t memory_limit_;
};
