// Visual rows of the text view (see text_layout.h).
#include "ui/text_layout.h"

#include <algorithm>

namespace ui {

void TextLayout::set_wrap_width(std::size_t width)
{
    if (width == width_) return;
    width_ = width;
    cum_.assign(1, 0);  // summed again lazily, on the next question
}

std::size_t TextLayout::rows_of_line(std::size_t line) const
{
    std::size_t len = lines_.length(line);
    if (width_ == 0 || len <= width_) return 1;  // most lines: no division
    return (len + width_ - 1) / width_;
}

std::uint64_t TextLayout::rows_in(std::size_t first, std::size_t end) const
{
    if (width_ == 0) return end - first;
    std::uint64_t rows = 0;
    for (std::size_t i = first; i < end; ++i) rows += rows_of_line(i);
    return rows;
}

void TextLayout::sync()
{
    if (generation_ != lines_.generation() || lines_.count() < (cum_.size() - 1) * kBlock) {
        generation_ = lines_.generation();
        cum_.assign(1, 0);
    }
    // A block is final once a line after it exists.
    std::size_t final_lines = lines_.empty() ? 0 : lines_.count() - 1;
    while (cum_.size() * kBlock <= final_lines) {
        std::size_t b = cum_.size() - 1;
        cum_.push_back(cum_.back() + rows_in(b * kBlock, (b + 1) * kBlock));
    }
}

std::uint64_t TextLayout::row_count()
{
    if (width_ == 0) return lines_.count();
    sync();
    std::size_t tail = (cum_.size() - 1) * kBlock;
    return cum_.back() + rows_in(tail, lines_.count());
}

std::uint64_t TextLayout::first_row_of(std::size_t line)
{
    if (width_ == 0) return line;
    sync();
    std::size_t b = std::min(line / kBlock, cum_.size() - 1);
    return cum_[b] + rows_in(b * kBlock, line);
}

std::uint64_t TextLayout::row_of(TextPos p)
{
    if (lines_.empty()) return 0;
    p = lines_.clamp(p);
    std::uint64_t first = first_row_of(p.line);
    if (width_ == 0) return first;
    return first + std::min(p.col / width_, rows_of_line(p.line) - 1);
}

TextRow TextLayout::row(std::uint64_t r)
{
    if (lines_.empty()) return {};
    if (width_ == 0) {
        std::size_t ln = static_cast<std::size_t>(std::min<std::uint64_t>(r, lines_.count() - 1));
        return {ln, 0, lines_.length(ln)};
    }
    sync();
    // The last block whose first row is at or before r, then a walk through its lines.
    std::size_t b = static_cast<std::size_t>(std::upper_bound(cum_.begin(), cum_.end(), r) - cum_.begin()) - 1;
    std::uint64_t at = cum_[b];
    std::size_t ln = b * kBlock;
    for (; ln + 1 < lines_.count(); ++ln) {
        std::uint64_t n = rows_of_line(ln);
        if (r < at + n) break;
        at += n;
    }
    std::size_t len = lines_.length(ln);
    std::uint64_t k = std::min<std::uint64_t>(r - at, rows_of_line(ln) - 1);
    std::size_t off = static_cast<std::size_t>(k) * width_;
    return {ln, off, std::min(width_, len - off)};
}

}  // namespace ui
