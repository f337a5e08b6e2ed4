// Visual rows of the text view: without wrap one row per line; with wrap each line
// is cut every `width` characters (a monospace font makes a row a fixed count of
// characters), so the layout follows from line lengths alone and never reads text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/text_lines.h"

namespace ui {

// One visual row: the piece [offset, offset + length) of a line.
struct TextRow {
    std::size_t line = 0;
    std::size_t offset = 0;
    std::size_t length = 0;
};

class TextLayout {
 public:
    explicit TextLayout(const TextLines& lines) : lines_(lines) {}

    // 0 switches wrapping off; otherwise rows hold `width` characters at most.
    void set_wrap_width(std::size_t width);
    std::size_t wrap_width() const { return width_; }

    std::uint64_t row_count();
    // The row r (clamped to the last row); an empty store gives row {0, 0, 0}.
    TextRow row(std::uint64_t r);
    std::uint64_t first_row_of(std::size_t line);
    // The row showing a place (a column at a row boundary belongs to the row it starts,
    // except the end of a line, which stays on the line's last row).
    std::uint64_t row_of(TextPos p);
    std::size_t rows_of_line(std::size_t line) const;

 private:
    static constexpr std::size_t kBlock = 1024;  // lines per cached row sum

    void sync();
    std::uint64_t rows_in(std::size_t first, std::size_t end) const;

    const TextLines& lines_;
    std::size_t width_ = 0;
    std::uint32_t generation_ = 0;
    // cum_[b] = rows of lines [0, b * kBlock); only whole blocks of lines that can no
    // longer change (every line but the store's last is final) are summed here.
    std::vector<std::uint64_t> cum_{0};
};

}  // namespace ui
