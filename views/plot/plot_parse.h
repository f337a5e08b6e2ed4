// Numbers out of one received text line for the Plot page: plain values are
// series 1, 2, 3... by position; "name=value", "name = value", "name: value"
// and "name 3.3V" pairs name theirs; a unit after a number is ignored.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

inline constexpr int plot_max_series = 8;

// What one line gave. Series are indices into the parser's names; only the
// first value of a series in a line counts.
struct PlotLine {
    bool stamped = false;        // the line began with the text view's "hh:mm:ss.mmm " stamp
    std::uint32_t stamp_ms = 0;  // time of day of that stamp
    int count = 0;               // series with a value in this line
    std::array<double, plot_max_series> values{};
    std::array<std::string_view, plot_max_series> texts{};  // as written; views into the line
    std::uint8_t present = 0;                               // bit s: series s has a value
    // Series past the drawn ones, with their texts: kept for the export only.
    std::vector<std::pair<int, std::string_view>> more;
};

class PlotParser {
 public:
    // Fills out from line; false when the line held no number. A line whose
    // numbers all belong to series beyond the limit is a reading with count 0.
    // Texts in out point into line, so it must outlive their use.
    bool parse(std::string_view line, PlotLine& out);

    // Series names in order of first appearance (positions are "1", "2", ...);
    // the first plot_max_series are drawn, all of them exported.
    const std::vector<std::string>& names() const { return names_; }
    // Series beyond the drawn ones.
    std::size_t extra_series() const { return names_.size() > plot_max_series ? names_.size() - plot_max_series : 0; }
    void clear();

    // Series kept at most: a noisy line could name endless ones.
    static constexpr std::size_t max_names = 1024;

 private:
    // The index of a named series, adding it while there is room; -1 beyond.
    int series(std::string_view name);

    std::vector<std::string> names_;
    std::vector<std::string_view> tokens_;  // the line being parsed, reused
    std::string plain_;                     // the line without escape sequences
};

// A finite number written as [sign] digits [. digits] [e [sign] digits];
// nan and inf are refused. Exposed for the tests' table.
bool plot_number(std::string_view text, double& value);
// The same with a unit after the number (letters, %, or the bytes of ° and µ);
// number_text is the number without it.
bool plot_number_with_unit(std::string_view text, double& value, std::string_view& number_text);
