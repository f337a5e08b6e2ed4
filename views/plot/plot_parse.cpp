// The Plot page's line parser: tokens split at commas, semicolons, blanks and
// tabs, each a plain number or a named one.
#include "views/plot/plot_parse.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "link/ansi_escape.h"

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

// The length of the longest number at the start of t: [sign] digits [. digits]
// [e [sign] digits]; 0 when there is none.
std::size_t number_length(std::string_view t)
{
    std::size_t i = 0;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) ++i;
    std::size_t digits = 0;
    while (i < t.size() && digit(t[i])) ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && digit(t[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
        std::size_t exp_digits = 0;
        while (j < t.size() && digit(t[j])) ++j, ++exp_digits;
        if (exp_digits > 0) i = j;
    }
    return i;
}

bool unit_char(char c)
{
    // Letters, per cent, and any byte of a code page or UTF-8 character (° µ).
    const auto u = static_cast<unsigned char>(c);
    return unsigned((u | 0x20) - 'a') < 26u || c == '%' || u >= 0x80;
}

// The value of a whole number text; false when it does not fit a double.
bool convert(std::string_view t, double& value)
{
    const char* first = t.data() + (t[0] == '+' ? 1 : 0);
    double v = 0;
    const auto r = std::from_chars(first, t.data() + t.size(), v);
    // An exponent beyond double's range gives an error or an infinity: refused.
    if (r.ec != std::errc{} || !std::isfinite(v)) return false;
    value = v;
    return true;
}

// What one field is to the parser.
enum class Field { number, refused, word };

// A number (with or without a unit), a value that keeps its column but gives
// none (nan, inf, or a number too large for a double), or anything else.
Field field(std::string_view t, double& value, std::string_view& text, bool& with_unit)
{
    // The grammar is checked by hand: from_chars alone would take "nan", "inf"
    // and hexadecimal forms, none of which a reading is.
    const std::size_t n = number_length(t);
    if (n == 0) return refused_value(t) ? Field::refused : Field::word;
    const std::string_view unit = t.substr(n);
    // A lone "e" is an exponent cut short, not a unit.
    if (unit == "e" || unit == "E" || !std::all_of(unit.begin(), unit.end(), unit_char)) return Field::word;
    text = t.substr(0, n);
    with_unit = !unit.empty();
    return convert(text, value) ? Field::number : Field::refused;
}

bool mark_only(std::string_view t)
{
    return !t.empty() && t.find_first_not_of(":=") == std::string_view::npos;
}

}  // namespace

bool plot_number(std::string_view t, double& value)
{
    return number_length(t) == t.size() && !t.empty() && convert(t, value);
}

bool plot_number_with_unit(std::string_view t, double& value, std::string_view& number_text)
{
    bool unit = false;
    return field(t, value, number_text, unit) == Field::number;
}

void PlotParser::clear()
{
    names_.clear();
}

int PlotParser::series(std::string_view name)
{
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (names_[i] == name) return int(i);
    if (names_.size() >= max_names) return -1;
    names_.emplace_back(name);
    return int(names_.size() - 1);
}

namespace {

// The line without its escape sequences (colour codes and the like), so a
// device that colours its output plots as one that does not.
std::string_view without_escapes(std::string_view line, std::string& out)
{
    if (line.find('\x1b') == std::string_view::npos) return line;
    out.clear();
    AnsiParser ansi;
    std::size_t begin = 0;  // where the sequence in progress began
    for (std::size_t i = 0; i < line.size(); ++i) {
        const AnsiStep step = ansi.feed(std::uint8_t(line[i]));
        if (step == AnsiStep::text) {
            out += line[i];
        } else if (step == AnsiStep::held && ansi.pending() == 1) {
            begin = i;
        } else if (step == AnsiStep::aborted) {
            out.append(line.substr(begin + 1, i - begin - 1));  // shown as it came, but for the ESC
            --i;
        }
    }
    if (ansi.in_sequence()) out.append(line.substr(begin + 1));
    return out;
}

}  // namespace

bool PlotParser::parse(std::string_view line, PlotLine& out)
{
    out.count = 0;
    out.present = 0;
    out.more.clear();
    line = without_escapes(line, plain_);
    out.stamped = stamp(line, out.stamp_ms);
    if (out.stamped) line.remove_prefix(13);

    tokens_.clear();
    for (std::size_t i = 0; i < line.size();) {
        while (i < line.size() && separator(line[i])) ++i;
        const std::size_t begin = i;
        while (i < line.size() && !separator(line[i])) ++i;
        if (i > begin) tokens_.push_back(line.substr(begin, i - begin));
    }

    int position = 0;
    bool any = false;  // a number of a series beyond the limit still makes the line a reading
    auto store = [&](std::string_view name, std::string_view text, double v) {
        any = true;
        const int s = series(name);
        if (s < 0) return;
        if (s >= plot_max_series) {
            const auto seen = [s](const std::pair<int, std::string_view>& m) { return m.first == s; };
            if (std::none_of(out.more.begin(), out.more.end(), seen)) out.more.emplace_back(s, text);
            return;
        }
        if (out.present >> s & 1) return;
        out.values[std::size_t(s)] = v;
        out.texts[std::size_t(s)] = text;
        out.present = std::uint8_t(out.present | (1u << s));
        ++out.count;
    };
    // The value of a named pair, if `t` is one; true when t was a value (even one refused).
    auto named = [&](std::string_view name, std::string_view t) {
        double v = 0;
        std::string_view text;
        bool unit = false;
        const Field f = field(t, v, text, unit);
        if (f == Field::number) store(name, text, v);
        return f != Field::word;
    };

    const std::size_t n = tokens_.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view token = tokens_[i];
        const std::string_view next = i + 1 < n ? tokens_[i + 1] : std::string_view{};
        if (mark_only(token)) continue;  // "=" with no name before it
        const std::size_t mark = token.find_first_of(":=");
        if (mark != std::string_view::npos && mark > 0) {
            // "name=value", "name:value"; "name:" or "name=" takes the next field
            // when that is a value. A value that is a word ("status=OK") is none.
            const std::string_view name = token.substr(0, mark), text = token.substr(mark + 1);
            if (!text.empty())
                named(name, text);
            else if (!next.empty() && named(name, next))
                ++i;
            continue;
        }
        double v = 0;
        std::string_view text;
        bool unit = false;
        const Field f = field(token, v, text, unit);
        if (f == Field::number) {
            char name[12];
            const auto end = std::to_chars(name, name + sizeof name, ++position).ptr;
            store(std::string_view(name, std::size_t(end - name)), text, v);
            continue;
        }
        if (f == Field::word && !next.empty()) {
            // "name = value", "name =value", "name : value", "name 3.3V".
            if (mark_only(next)) {
                if (i + 2 < n && named(token, tokens_[i + 2])) ++i;
                ++i;
                continue;
            }
            if (next[0] == ':' || next[0] == '=') {
                named(token, next.substr(1));
                ++i;
                continue;
            }
            double nv = 0;
            std::string_view nt;
            bool next_unit = false;
            if (field(next, nv, nt, next_unit) == Field::number && next_unit) {
                store(token, nt, nv);
                ++i;
                continue;
            }
        }
        ++position;  // a field that is no number keeps its column, so the ones after stay theirs
    }
    return any;
}
