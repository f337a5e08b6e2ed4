// A line list for the conversion tests that keeps the lines and every call made.
#pragma once

#include <string>
#include <vector>

#include "link/line_sink.h"

class RecordingSink : public LineSink {
 public:
    std::vector<std::string> lines;
    std::vector<std::string> pieces;  // text of each add or append, in order
    std::vector<int32_t> starts;      // store position told before each add
    int updating = 0;                 // begin minus end
    int passes = 0;                   // completed begin/end brackets
    int calls_outside = 0;            // changes made outside a bracket

    void add_line(std::string_view text) override
    {
        note(text);
        lines.emplace_back(text);
    }
    void line_starts_at(int32_t position) override
    {
        // Told once per line, right before it is added.
        if (starts.size() == lines.size()) starts.push_back(position);
    }
    std::string last_line() const override { return lines.empty() ? std::string() : lines.back(); }
    void replace_last_line(std::string_view text) override
    {
        if (!updating) ++calls_outside;
        lines.back() = std::string(text);
    }
    int line_count() const override { return int(lines.size()); }
    void begin_update() override { ++updating; }
    void end_update() override
    {
        --updating;
        ++passes;
    }
    void clear() override
    {
        lines.clear();
        pieces.clear();
        starts.clear();
    }
    void append_to_last_line(std::string_view text) override
    {
        note(text);
        lines.back().append(text);
    }

 private:
    void note(std::string_view text)
    {
        if (!updating) ++calls_outside;
        pieces.emplace_back(text);
    }
};
