// Where a text view's lines come from when another object holds them: the view
// asks for their number and lengths as it lays them out, and for characters
// only as it paints, copies, finds or saves them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/color.h"

namespace ui {

class LineSource {
 public:
    virtual ~LineSource() = default;

    virtual std::size_t count() const = 0;
    virtual std::size_t length(std::size_t line) const = 0;
    virtual std::uint64_t char_total() const = 0;  // all lines' characters
    // The longest line so far (an upper bound once a last line shrinks).
    virtual std::size_t longest_line() const = 0;
    // Writes n characters of a line from column `from` to out; the view asks only
    // within the line's length.
    virtual void copy(std::size_t line, std::size_t from, std::size_t n, char* out) const = 0;

    // How characters look when the source colours them: a style number per
    // character, and what each number means. A source that does not colours
    // nothing (false), and the view draws in its own colours.
    struct Look {
        Color fg, bg;
        bool own_fg = false, own_bg = false;  // clear: the view's colour
        bool bold = false, italic = false, underline = false;
    };
    virtual bool styles(std::size_t /*line*/, std::size_t /*from*/, std::size_t /*n*/, std::uint32_t* /*out*/) const
    {
        return false;
    }
    virtual Look look(std::uint32_t /*style*/) const { return {}; }

    // A source whose characters are more than one byte each (received UTF-8)
    // says so; copy then gives '?' for a character above U+00FF, and
    // copy_wide, called only then, gives every character's code point.
    virtual bool wide_chars() const { return false; }
    virtual void copy_wide(std::size_t /*line*/, std::size_t /*from*/, std::size_t /*n*/, char32_t* /*out*/) const {}
};

}  // namespace ui
