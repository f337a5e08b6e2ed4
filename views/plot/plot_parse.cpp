// The Plot page's line parser: tokens split at commas, semicolons, blanks and
// tabs, each a plain number or a named one.
#include "views/plot/plot_parse.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool separator(char c)
{
    return c == ',' || c == ';' || c == ' ' || c == '\t';
}

bool digit(char c)
{
    return c >= '0' && c <= '9';
}

// "hh:mm:ss.mmm " as the text view stamps its lines.
bool stamp(std::string_view line, std::uint32_t& ms)
{
    static constexpr std::string_view shape = "00:00:00.000 ";
    if (line.size() < shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i)
        if (digit(shape[i]) ? !digit(line[i]) : line[i] != shape[i]) return false;
    auto two = [&](std::size_t at) { return std::uint32_t((line[at] - '0') * 10 + (line[at + 1] - '0')); };
    const std::uint32_t frac = std::uint32_t((line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0'));
    ms = ((two(0) * 60 + two(3)) * 60 + two(6)) * 1000 + frac;
    return true;
}

// Case-insensitive "nan" / "inf" / "infinity" after an optional sign: a value
// that occupies its position but cannot be drawn.
bool refused_value(std::string_view t)
{
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) t.remove_prefix(1);
    auto is = [t](std::string_view word) {
        return t.size() == word.size() &&
               std::equal(t.begin(), t.end(), word.begin(), [](char a, char b) { return char(a | 0x20) == b; });
    };
    return is("nan") || is("inf") || is("infinity");
}

}  // namespace

bool plot_number(std::string_view t, double& value)
{
    // The grammar is checked by hand: from_chars alone would take "nan", "inf"
    // and hexadecimal forms, none of which a reading is.
    std::size_t i = 0;
    const bool plus = !t.empty() && t[0] == '+';
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) ++i;
    std::size_t digits = 0;
    while (i < t.size() && digit(t[i])) ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && digit(t[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        std::size_t exp_digits = 0;
        while (i < t.size() && digit(t[i])) ++i, ++exp_digits;
        if (exp_digits == 0) return false;
    }
    if (i != t.size()) return false;
    const char* first = t.data() + (plus ? 1 : 0);
    double v = 0;
    const auto r = std::from_chars(first, t.data() + t.size(), v);
    // An exponent beyond double's range gives an error or an infinity: refused.
    if (r.ec != std::errc{} || !std::isfinite(v)) return false;
    value = v;
    return true;
}

void PlotParser::clear()
{
    names_.clear();
    extra_.clear();
}

int PlotParser::series(std::string_view name)
{
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (names_[i] == name) return int(i);
    if (names_.size() < std::size_t(plot_max_series)) {
        names_.emplace_back(name);
        return int(names_.size() - 1);
    }
    // A noisy line could name endless series; counting stops growing the list
    // at a bound so that such a stream cannot eat memory.
    if (extra_.size() < 1000 && std::find(extra_.begin(), extra_.end(), name) == extra_.end())
        extra_.emplace_back(name);
    return -1;
}

bool PlotParser::parse(std::string_view line, PlotLine& out)
{
    out.count = 0;
    out.present = 0;
    out.stamped = stamp(line, out.stamp_ms);
    if (out.stamped) line.remove_prefix(13);

    int position = 0;
    bool any = false;               // a number of a series beyond the limit still makes the line a reading
    std::string_view pending_name;  // "temp:" followed by its value as the next token
    // Stores a value already known to be a number under its series.
    auto store = [&](std::string_view name, std::string_view text, double v) {
        any = true;
        const int s = series(name);
        if (s < 0 || (out.present >> s & 1)) return;
        out.values[std::size_t(s)] = v;
        out.texts[std::size_t(s)] = text;
        out.present = std::uint8_t(out.present | (1u << s));
        ++out.count;
    };
    auto put = [&](std::string_view name, std::string_view text) {
        double v = 0;
        if (!plot_number(text, v)) return false;
        store(name, text, v);
        return true;
    };

    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && separator(line[i])) ++i;
        const std::size_t begin = i;
        while (i < line.size() && !separator(line[i])) ++i;
        const std::string_view token = line.substr(begin, i - begin);
        if (token.empty()) break;

        if (!pending_name.empty()) {
            const std::string_view name = pending_name;
            pending_name = {};
            if (put(name, token) || refused_value(token)) continue;
        }
        const std::size_t mark = token.find_first_of(":=");
        if (mark != std::string_view::npos && mark > 0) {
            const std::string_view name = token.substr(0, mark), text = token.substr(mark + 1);
            if (text.empty())
                pending_name = name;
            else
                put(name, text);
            continue;
        }
        double v = 0;
        if (plot_number(token, v)) {
            char name[12];
            const auto end = std::to_chars(name, name + sizeof name, ++position).ptr;
            store(std::string_view(name, std::size_t(end - name)), token, v);
        } else if (refused_value(token)) {
            ++position;  // a refused value keeps its place, so the columns after it stay theirs
        }
    }
    return any;
}
