// The line list that received text is converted into. The link layer knows only
// this interface; the main window adapts its text view to it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct RxStore;
class RxText;

class LineSink {
 public:
    virtual ~LineSink() = default;

    virtual void add_line(std::string_view text) = 0;  // a new line at the end
    virtual std::string last_line() const = 0;         // "" when there is none
    virtual void replace_last_line(std::string_view text) = 0;
    virtual int line_count() const = 0;
    virtual void begin_update() = 0;  // redraw once, at end_update
    virtual void end_update() = 0;
    virtual void clear() = 0;  // no lines at all

    // Told just before add_line: the new line holds the store's bytes from
    // `position` on (the first may be one the line-break mode drops). A view
    // that finds store bytes in its lines keeps it.
    virtual void line_starts_at(int32_t /*position*/) {}
    // Told with line_starts_at: the colours and attributes in force at the
    // line's first byte (an AnsiStyle, packed; 0 for none).
    virtual void line_style(std::uint32_t /*style*/) {}
    // Told right after the line text handed over last began with a time stamp.
    virtual void last_line_stamped() {}
    // Told before each pass: the lines' bytes are in `store`, turned into text by
    // `text`; both outlive the view. A view that keeps no characters of its own
    // reads them back through these (RxText::render).
    virtual void converted_from(const RxStore& /*store*/, const RxText& /*text*/) {}

    // Continues the last line. A view that can append in place should override
    // this: read-and-replace makes a long line grown piece by piece quadratic.
    virtual void append_to_last_line(std::string_view text)
    {
        if (line_count() == 0) {
            add_line(text);
            return;
        }
        std::string line = last_line();
        line.append(text);
        replace_last_line(line);
    }
};
