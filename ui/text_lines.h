// The text view's line store: every line's characters in one paged arena and one
// start offset per line, so millions of lines cost little more than their text;
// or, with a LineSource, nothing of its own: the source holds the lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/line_source.h"
#include "ui/paged_array.h"

namespace ui {

// A place in the text: a line and a column (0 .. the line's length).
struct TextPos {
    std::size_t line = 0;
    std::size_t col = 0;
    friend bool operator==(const TextPos&, const TextPos&) = default;
    friend auto operator<=>(const TextPos&, const TextPos&) = default;
};

class TextLines {
 public:
    // Line breaks of copied text (clipboard, window text), as Windows programs expect.
    static constexpr std::string_view kBreak = "\r\n";

    std::size_t count() const { return source_ ? source_->count() : starts_.size(); }
    bool empty() const { return count() == 0; }
    std::uint64_t char_count() const { return source_ ? source_->char_total() : chars_.size(); }

    // From now on the lines are the source's (none: kept here again); the
    // changing operations below are for lines kept here. Empties the store.
    void set_source(const LineSource* source);
    const LineSource* source() const { return source_; }

    // Adds a line at the end. Throws std::length_error beyond 4 GiB of text.
    void add(std::string_view text);
    // The last line's text; empty when there is no line.
    std::string last() const;
    // Replaces the last line (adds one when there is none). Costs the new text's
    // length, whatever the number of lines.
    void replace_last(std::string_view text);
    // Appends to the last line (adds one when there is none); costs only the added text.
    void append_last(std::string_view text);
    void clear();

    std::size_t length(std::size_t line) const;
    std::string line(std::size_t line) const;
    // Copies up to n characters of a line from column from; returns the count copied.
    std::size_t copy(std::size_t line, std::size_t from, std::size_t n, char* out) const;
    char at(std::size_t line, std::size_t col) const;
    // Characters beyond one byte each: the source's (LineSource::wide_chars).
    bool wide() const { return source_ && source_->wide_chars(); }
    // As copy, each character as its code point (without wide(), its byte's).
    std::size_t copy_wide(std::size_t line, std::size_t from, std::size_t n, char32_t* out) const;

    // The longest line since the last clear (an upper bound once a last line shrinks).
    std::size_t max_length() const { return source_ ? source_->longest_line() : max_length_; }
    // Bumped by clear(), so layouts built on this store know to start over.
    std::uint32_t generation() const { return generation_; }

    // Text between two places, lines joined by kBreak, cut after limit characters.
    std::string text(TextPos from, TextPos to, std::size_t limit = std::string::npos) const;
    // The same as code points.
    std::u32string wide_text(TextPos from, TextPos to) const;
    // Length of the whole text as text() gives it.
    std::uint64_t text_length() const;
    TextPos end_pos() const;
    TextPos clamp(TextPos p) const;

    std::size_t memory_bytes() const { return chars_.memory_bytes() + starts_.memory_bytes(); }

 private:
    void put(std::string_view text);
    template <class Text>
    Text text_of(TextPos from, TextPos to, std::size_t limit) const;
    std::size_t copy_as(std::size_t line, std::size_t from, std::size_t n, char* out) const
    {
        return copy(line, from, n, out);
    }
    std::size_t copy_as(std::size_t line, std::size_t from, std::size_t n, char32_t* out) const
    {
        return copy_wide(line, from, n, out);
    }

    const LineSource* source_ = nullptr;
    PagedArray<char, 20> chars_;            // 1 MiB pages
    PagedArray<std::uint32_t, 16> starts_;  // line i is chars [starts_[i], starts_[i+1])
    std::size_t max_length_ = 0;
    std::uint32_t generation_ = 0;
};

}  // namespace ui
