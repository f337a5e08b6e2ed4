// The text view's line store: one start offset per line and either every line's
// characters in one paged arena, or a LineSource that holds them elsewhere, so
// millions of lines cost little more than their text, or only their offsets.
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

    std::size_t count() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    std::uint64_t char_count() const { return total_; }

    // From now on the characters come from `source` (none: kept here again) and
    // lines are added by length only. Empties the store.
    void set_source(const LineSource* source);
    const LineSource* source() const { return source_; }
    // With a source: a new line of `length` characters; the last line's new
    // length; the last line grown by n. They throw as add() does.
    void add_counted(std::size_t length);
    void resize_last(std::size_t length);
    void grow_last(std::size_t n);

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

    // The longest line since the last clear (an upper bound once a last line shrinks).
    std::size_t max_length() const { return max_length_; }
    // Bumped by clear(), so layouts built on this store know to start over.
    std::uint32_t generation() const { return generation_; }

    // Text between two places, lines joined by kBreak, cut after limit characters.
    std::string text(TextPos from, TextPos to, std::size_t limit = std::string::npos) const;
    // Length of the whole text as text() gives it.
    std::uint64_t text_length() const;
    TextPos end_pos() const;
    TextPos clamp(TextPos p) const;

    std::size_t memory_bytes() const { return chars_.memory_bytes() + starts_.memory_bytes(); }

 private:
    void put(std::string_view text);
    void counted(std::size_t more);

    const LineSource* source_ = nullptr;
    PagedArray<char, 20> chars_;            // 1 MiB pages; unused with a source
    std::size_t total_ = 0;                 // characters of all lines
    PagedArray<std::uint32_t, 16> starts_;  // line i is chars [starts_[i], starts_[i+1])
    std::size_t max_length_ = 0;
    std::uint32_t generation_ = 0;
};

}  // namespace ui
