// The Plot page's table and its block min/max index.
#include "views/plot/plot_series.h"

#include <charconv>
#include <cstdio>
#include <limits>

namespace {

constexpr double absent = std::numeric_limits<double>::quiet_NaN();

}  // namespace

bool PlotSeries::add(std::uint32_t line_number, double x, const PlotLine& parsed)
{
    std::size_t text_size = 0;
    for (int s = 0; s < plot_max_series; ++s)
        if (parsed.present >> s & 1) text_size += parsed.texts[std::size_t(s)].size() + 1;
    for (const auto& m : parsed.more) text_size += m.second.size() + 12;
    // The text offsets are 32-bit: a table that would pass them is full too.
    if (memory_bytes() >= memory_limit_ || text_.size() > std::numeric_limits<std::uint32_t>::max() - text_size)
        return false;

    const std::size_t row = lines_.size();
    int top = series_count_;
    for (int s = series_count_; s < plot_max_series; ++s)
        if (parsed.present >> s & 1) top = s + 1;
    // A series first seen now has had no value in the rows before.
    for (int s = series_count_; s < top; ++s)
        for (std::size_t r = 0; r < row; ++r) {
            values_[s].push_back(absent);
            if (r % kBlock == 0) blocks_[s].push_back(PlotSpan{});
            if (r % kCoarse == 0) coarse_[s].push_back(PlotSpan{});
        }
    series_count_ = top;

    lines_.push_back(line_number);
    x_.push_back(x);
    text_starts_.push_back(std::uint32_t(text_.size()));
    bool first = true;
    for (int s = 0; s < series_count_; ++s) {
        const bool has = parsed.present >> s & 1;
        const double v = has ? parsed.values[std::size_t(s)] : absent;
        values_[s].push_back(v);
        if (row % kBlock == 0) blocks_[s].push_back(PlotSpan{});
        if (row % kCoarse == 0) coarse_[s].push_back(PlotSpan{});
        if (!has) continue;
        blocks_[s][row / kBlock].take(v);
        coarse_[s][row / kCoarse].take(v);
        if (!first) text_.push_back(',');
        const std::string_view t = parsed.texts[std::size_t(s)];
        text_.append(t.data(), t.size());
        first = false;
    }
    // Series past the drawn ones keep only their text, as "|index:text".
    for (const auto& [index, t] : parsed.more) {
        char head[16];
        const int n = std::snprintf(head, sizeof head, "|%d:", index);
        text_.append(head, std::size_t(n));
        text_.append(t.data(), t.size());
    }
    return true;
}

void PlotSeries::clear()
{
    lines_.clear();
    x_.clear();
    text_starts_.clear();
    text_.clear();
    for (auto& v : values_) v.clear();
    for (auto& b : blocks_) b.clear();
    for (auto& b : coarse_) b.clear();
    series_count_ = 0;
}

double PlotSeries::value(int s, std::size_t row) const
{
    return s < series_count_ ? values_[s][row] : absent;
}

std::vector<std::string_view> PlotSeries::texts(std::size_t row, std::string& scratch) const
{
    const std::size_t from = text_starts_[row];
    const std::size_t to = row + 1 < rows() ? text_starts_[row + 1] : text_.size();
    scratch.resize(to - from);
    if (to > from) text_.copy_out(from, to - from, scratch.data());
    std::vector<std::string_view> out;
    std::string_view rest = std::string_view(scratch).substr(0, scratch.find('|'));
    for (int s = 0; s < series_count_; ++s) {
        if (!has(s, row)) continue;
        const std::size_t comma = rest.find(',');
        out.push_back(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    }
    return out;
}

std::vector<std::pair<int, std::string_view>> PlotSeries::cells(std::size_t row, std::string& scratch) const
{
    std::vector<std::pair<int, std::string_view>> out;
    int s = 0;
    for (std::string_view t : texts(row, scratch)) {
        while (!has(s, row)) ++s;
        out.emplace_back(s++, t);
    }
    std::string_view rest = scratch;
    for (std::size_t bar = rest.find('|'); bar != std::string_view::npos; bar = rest.find('|')) {
        rest.remove_prefix(bar + 1);
        const std::size_t colon = rest.find(':');
        if (colon == std::string_view::npos) break;
        int index = 0;
        std::from_chars(rest.data(), rest.data() + colon, index);
        rest.remove_prefix(colon + 1);
        out.emplace_back(index, rest.substr(0, rest.find('|')));
    }
    return out;
}

PlotSpan PlotSeries::span(int s, std::size_t from, std::size_t to) const
{
    PlotSpan out;
    if (s >= series_count_) return out;
    if (to > rows()) to = rows();
    if (from >= to) return out;
    const Values& v = values_[s];
    const auto& fine = blocks_[s];
    const auto& coarse = coarse_[s];
    // Up: rows to a fine boundary, fine blocks to a coarse one; across: coarse
    // blocks; down: fine blocks, then the last rows.
    while (from < to && from % kBlock != 0) {
        out.take(v[from]);
        ++from;
    }
    while (to - from >= kBlock && from % kCoarse != 0) {
        out.take(fine[from / kBlock]);
        from += kBlock;
    }
    while (to - from >= kCoarse) {
        out.take(coarse[from / kCoarse]);
        from += kCoarse;
    }
    while (to - from >= kBlock) {
        out.take(fine[from / kBlock]);
        from += kBlock;
    }
    for (; from < to; ++from) out.take(v[from]);
    return out;
}

void PlotSeries::decimate(int s, double x0, double x1, int columns, std::vector<PlotSpan>& out) const
{
    std::vector<std::size_t> bounds;
    column_rows(x0, x1, columns, bounds);
    decimate(s, bounds, out);
}

void PlotSeries::column_rows(double x0, double x1, int columns, std::vector<std::size_t>& bounds) const
{
    bounds.clear();
    if (columns <= 0) return;
    if (!(x1 >= x0)) {
        bounds.assign(std::size_t(columns) + 1, 0);
        return;
    }
    const double width = (x1 - x0) / columns;
    bounds.push_back(row_at_x(x0));
    for (int c = 1; c < columns; ++c) bounds.push_back(row_at_x(x0 + width * c));
    bounds.push_back(row_at_x(x1, true));
}

void PlotSeries::decimate(int s, const std::vector<std::size_t>& bounds, std::vector<PlotSpan>& out) const
{
    out.assign(bounds.empty() ? 0 : bounds.size() - 1, PlotSpan{});
    for (std::size_t c = 0; c < out.size(); ++c) out[c] = span(s, bounds[c], bounds[c + 1]);
}

std::size_t PlotSeries::row_at_x(double x, bool after) const
{
    std::size_t lo = 0, hi = rows();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (x_[mid] < x || (after && x_[mid] == x))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

std::size_t PlotSeries::memory_bytes() const
{
    std::size_t sum = lines_.memory_bytes() + x_.memory_bytes() + text_starts_.memory_bytes() + text_.memory_bytes();
    for (const auto& v : values_) sum += v.memory_bytes();
    for (const auto& b : blocks_) sum += b.memory_bytes();
    for (const auto& b : coarse_) sum += b.memory_bytes();
    return sum;
}
