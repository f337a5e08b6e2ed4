// Showing a Find hit: store positions to the text view's lines and columns by
// walking the line's bytes as the conversion did, then both views moved.
#include "app/find_hit.h"

#include <algorithm>

#include "link/serial_link.h"
#include "link/rx_text.h"

namespace {

// The last line whose bytes begin at or before pos.
std::optional<std::size_t> line_of(const TextViewSink& sink, std::int32_t pos)
{
    std::size_t lo = 0, hi = std::min<std::size_t>(sink.line_starts(), std::size_t(sink.view().line_count()));
    if (hi == 0 || sink.line_start(0) > pos) return std::nullopt;
    while (hi - lo > 1) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (sink.line_start(mid) <= pos)
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

// Characters a byte takes in its line: line breaks end lines or are dropped.
int width_of(std::uint8_t b, bool show_invisible)
{
    if (b == '\r' || b == '\n') return 0;
    if (b >= 0x20 || b == '\t') return 1;
    return show_invisible ? 1 : 0;
}

bool looks_stamped(const ui::TextLines& lines, std::size_t line)
{
    if (lines.length(line) < std::size_t(rx_text_stamp_length)) return false;
    static constexpr char shape[] = "00:00:00.000 ";
    for (std::size_t i = 0; i < sizeof shape - 1; ++i) {
        const char c = lines.at(line, i);
        if (shape[i] == '0' ? (c < '0' || c > '9') : c != shape[i]) return false;
    }
    return true;
}

// Whether the line's first characters after `prefix` are its bytes.
bool bytes_follow(const SerialLink& link, const ui::TextLines& lines, std::size_t line, std::size_t prefix,
                  std::int32_t from, bool show_invisible)
{
    std::size_t col = prefix;
    std::uint8_t b = 0;
    for (std::int32_t p = from, seen = 0; seen < 32 && link.rx_store_byte(p, &b) == 0; ++p) {
        if (b == '\r' || b == '\n') continue;
        const int w = width_of(b, show_invisible);
        if (w == 0) continue;
        if (col >= lines.length(line)) return true;
        if ((b >= 0x20 || b == '\t') && lines.at(line, col) != char(b)) return false;
        ++col;
        ++seen;
    }
    return true;
}

// The column where store position pos shows in a line (time stamp included).
std::size_t column_of(const SerialLink& link, const TextViewSink& sink, std::size_t line, std::int32_t pos,
                      bool show_invisible)
{
    const ui::TextLines& lines = sink.view().lines();
    const std::int32_t from = sink.line_start(line);
    // Escape sequences take no column, a UTF-8 character one for all its bytes.
    if (sink.columns_counted())
        return std::min(
            (sink.line_stamped(line) ? std::size_t(rx_text_stamp_length) : 0) + sink.chars_before(line, pos),
            lines.length(line));
    // A time stamp is told from received text that looks like one by what follows it.
    std::size_t col =
        looks_stamped(lines, line) && bytes_follow(link, lines, line, rx_text_stamp_length, from, show_invisible)
            ? std::size_t(rx_text_stamp_length)
            : 0;
    // A line may be megabytes long: read it in blocks.
    std::uint8_t block[4096];
    for (std::int32_t p = from; p < pos;) {
        std::int32_t got = 0;
        if (link.rx_store_read(p, block, std::min<std::int32_t>(pos - p, sizeof block), &got) != 0 || got == 0) break;
        for (std::int32_t i = 0; i < got; ++i) col += std::size_t(width_of(block[i], show_invisible));
        p += got;
    }
    return std::min(col, lines.length(line));
}

}  // namespace

std::optional<TextRange> text_range_of(const SerialLink& link, const TextViewSink& sink, std::int32_t start,
                                       std::int32_t end, bool show_invisible)
{
    const std::optional<std::size_t> first = line_of(sink, start), last = line_of(sink, end - 1);
    if (!first || !last) return std::nullopt;
    if (*first != *last) return TextRange{{*first, 0}, {*last, sink.view().lines().length(*last)}};
    return TextRange{{*first, column_of(link, sink, *first, start, show_invisible)},
                     {*first, column_of(link, sink, *first, end, show_invisible)}};
}

void show_find_hit(HexPage& hex, TextPage& text, FollowNewData& follow, std::int32_t start, std::int32_t length)
{
    follow.hold();
    hex.show_block(start, start + length - 1);
    if (const std::optional<TextRange> r =
            text_range_of(text.link, text.sink, start, start + length, text.items.MMdis.checked())) {
        text.Mtxt.select(r->from, r->to);
        text.Mtxt.scroll_into_view(r->to);
        text.Mtxt.scroll_into_view(r->from);
    }
}
