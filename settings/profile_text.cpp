// The text rules of a Windows profile file: lines end at "\n" (or "\r" where a
// file has no "\n" left), blanks around names and values do not count, names
// compare without regard to ASCII case, and only the first section of a name is
// ever used.
#include "settings/profile_text.h"

#include <algorithm>

namespace {

// Blanks as the profile functions see them; ^Z (a DOS end of file) is one too.
bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view trim_left(std::string_view s)
{
    while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view trim(std::string_view s)
{
    s = trim_left(s);
    while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
    return s;
}

char ascii_lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool same_name(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
}

// One line of the file: [begin, end) is its text without the terminator,
// `next` is where the following line begins.
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

// Walks the lines of a text; a UTF-8 byte-order mark at the start is skipped.
class LineReader {
 public:
    explicit LineReader(std::string_view text) : text_(text)
    {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    }

    bool next(Line& line)
    {
        if (pos_ >= text_.size()) return false;
        // The next LF is searched for once and kept until passed, so a file of
        // bare-CR lines (no LF at all) is read in linear time.
        if (!lf_known_ || (lf_ != std::string_view::npos && lf_ < pos_)) {
            lf_ = text_.find('\n', pos_);
            lf_known_ = true;
        }
        std::size_t end = lf_;
        if (end == std::string_view::npos) end = text_.find('\r', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = {pos_, end, end < text_.size() ? end + 1 : end};
        pos_ = line.next;
        return true;
    }

 private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lf_ = 0;
    bool lf_known_ = false;
};

// What a trimmed line is: a section header (with its name) or a key line (with
// its name and, when it has an "=", its value).
struct Entry {
    bool header = false;
    std::string_view name;
    std::optional<std::string_view> value;
};

// The profile functions see names and values as C strings: a zero byte ends them.
std::string_view until_zero(std::string_view s)
{
    return s.substr(0, s.find('\0'));
}

Entry parse_line(std::string_view content)
{
    Entry entry;
    content = trim(content);
    if (!content.empty() && content.front() == '[') {
        const std::size_t close = content.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            entry.header = true;
            entry.name = until_zero(trim(content.substr(1, close - 1)));
            return entry;
        }
    }
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) {
        entry.name = until_zero(content);
    } else {
        entry.name = until_zero(trim(content.substr(0, equals)));
        entry.value = until_zero(trim_left(content.substr(equals + 1)));
    }
    return entry;
}

// Where one key of one section stands in the text.
struct Place {
    bool section_found = false;
    std::optional<Line> key_line;     // the first line of the key, if any
    std::optional<Line> last_filled;  // the section's last non-blank line
};

Place locate(std::string_view text, std::string_view section, std::string_view key)
{
    section = trim(section);
    key = trim(key);
    Place place;
    // The lines before the first header form a section without a name.
    bool in_section = section.empty();
    place.section_found = in_section;
    LineReader reader(text);
    Line line;
    while (reader.next(line)) {
        const std::string_view content = text.substr(line.begin, line.end - line.begin);
        const Entry entry = parse_line(content);
        if (entry.header) {
            if (in_section) break;  // the first matching section has ended
            if (same_name(entry.name, section)) {
                in_section = place.section_found = true;
                place.last_filled = line;
            }
            continue;
        }
        if (!in_section) continue;
        if (!trim(content).empty()) place.last_filled = line;
        if (!place.key_line && same_name(entry.name, key)) place.key_line = line;
    }
    return place;
}

bool ends_line(std::string_view text)
{
    return text.empty() || text.back() == '\n' || text.back() == '\r';
}

// The line end for a line put in at `pos` that keeps every line read as it was:
// where no LF is left from there on, the lines since the last LF end in bare
// CRs, and a CR LF would join them into one; so there a bare CR, else CR LF.
std::string_view line_end_at(std::string_view text, std::size_t pos)
{
    if (text.find('\n', pos) != std::string_view::npos) return "\r\n";
    const std::size_t last_lf = pos == 0 ? std::string_view::npos : text.rfind('\n', pos - 1);
    const std::size_t from = last_lf == std::string_view::npos ? 0 : last_lf + 1;
    return text.substr(from, pos - from).find('\r') != std::string_view::npos ? "\r" : "\r\n";
}

}  // namespace

std::optional<std::string> profile_find_value(std::string_view text, std::string_view section, std::string_view key)
{
    const Place place = locate(text, section, key);
    if (!place.key_line) return std::nullopt;
    const Line& line = *place.key_line;
    const Entry entry = parse_line(text.substr(line.begin, line.end - line.begin));
    if (!entry.value) return std::nullopt;
    return std::string(*entry.value);
}

std::string profile_value_as_read(std::string_view raw)
{
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front()) {
        raw.remove_prefix(1);
        raw.remove_suffix(1);
    }
    return std::string(raw);
}

std::string_view profile_default_trimmed(std::string_view default_value)
{
    while (default_value.size() > 1 && default_value.back() == ' ') default_value.remove_suffix(1);
    return default_value;
}

std::string profile_with_value(std::string_view text, std::string_view section, std::string_view key,
                               std::string_view value)
{
    // Names and values lose their leading blanks when written, as on Windows.
    const std::string_view section_name = trim_left(section);
    const std::string_view key_name = trim_left(key);
    value = trim_left(value);
    const Place place = locate(text, section, key);
    std::string out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
    if (place.key_line) {
        // The key keeps the name it has in the file; the line keeps its ending.
        const Line& line = *place.key_line;
        const Entry entry = parse_line(text.substr(line.begin, line.end - line.begin));
        const bool crlf =
            line.end > line.begin && text[line.end - 1] == '\r' && line.end < text.size() && text[line.end] == '\n';
        out.append(text.substr(0, line.begin));
        out.append(entry.name).append("=").append(value);
        if (crlf) out += '\r';
        out.append(text.substr(line.end));
        return out;
    }
    const std::string key_text = std::string(key_name) + "=" + std::string(value);
    if (place.section_found && place.last_filled) {
        const Line& after = *place.last_filled;
        const std::string_view eol = line_end_at(text, after.next);
        out.append(text.substr(0, after.next));
        if (!ends_line(out)) out.append(eol);
        out.append(key_text).append(eol);
        out.append(text.substr(after.next));
        return out;
    }
    if (place.section_found) {
        // A nameless section with no lines yet: the key opens the file, after
        // its byte-order mark if it has one.
        const std::size_t start = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
        out.append(text.substr(0, start));
        out.append(key_text).append(line_end_at(text, start));
        out.append(text.substr(start));
        return out;
    }
    const std::string_view eol = line_end_at(text, text.size());
    out.append(text);
    if (!ends_line(out)) out.append(eol);
    out.append("[").append(section_name).append("]").append(eol).append(key_text).append(eol);
    return out;
}

std::string profile_without_key(std::string_view text, std::string_view section, std::string_view key)
{
    const Place place = locate(text, section, key);
    if (!place.key_line) return std::string(text);
    return std::string(text.substr(0, place.key_line->begin)).append(text.substr(place.key_line->next));
}
