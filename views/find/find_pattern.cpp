// Parsing of the Find window's pattern: text as it is, or hex byte pairs.
#include "views/find/find_pattern.h"

namespace {

bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

int hex_value(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

PatternParse refused(std::string reason)
{
    return PatternParse{std::nullopt, std::move(reason)};
}

PatternParse parse_text(std::string_view text, bool match_case)
{
    FindPattern p;
    p.fold_case = !match_case;
    for (char c : text) {
        const auto b = static_cast<std::uint8_t>(c);
        p.bytes.push_back(p.fold_case ? fold_ascii(b) : b);
    }
    p.fixed.assign(p.bytes.size(), 1);
    return PatternParse{std::move(p), {}};
}

PatternParse parse_hex(std::string_view text)
{
    // A stray character is named before anything else: it is the likeliest slip.
    for (char c : text)
        if (!is_blank(c) && c != '?' && hex_value(c) < 0) return refused(std::string("Not a hex digit: \"") + c + '"');

    FindPattern p;
    std::size_t i = 0;
    while (i < text.size()) {
        if (is_blank(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !is_blank(text[end])) ++end;
        // Pairs may run together, but a group of digits never splits a byte.
        if ((end - i) % 2 != 0) return refused(std::string(find_refusal_odd));
        for (; i < end; i += 2) {
            const char hi = text[i], lo = text[i + 1];
            if (hi == '?' && lo == '?') {
                p.bytes.push_back(0);
                p.fixed.push_back(0);
            } else if (hi == '?' || lo == '?') {
                return refused(std::string(find_refusal_half_wildcard));
            } else {
                p.bytes.push_back(static_cast<std::uint8_t>(hex_value(hi) * 16 + hex_value(lo)));
                p.fixed.push_back(1);
            }
        }
    }
    if (p.bytes.empty()) return refused(std::string(find_refusal_empty));
    return PatternParse{std::move(p), {}};
}

}  // namespace

PatternParse parse_find_pattern(std::string_view text, bool hex_bytes, bool match_case)
{
    if (text.empty()) return refused(std::string(find_refusal_empty));
    return hex_bytes ? parse_hex(text) : parse_text(text, match_case);
}
