// Turns received bytes into lines by the line-break mode. Bytes are scanned in
// runs into a 1024-byte line buffer; the view is called once per line or piece.
#include "link/rx_text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <utility>

namespace {

constexpr int line_max = 1023;  // characters per piece; one byte left for a terminator
constexpr int stamp_len = rx_text_stamp_length;

enum ByteClass : uint8_t { printable, cr, lf, invisible };

constexpr std::array<uint8_t, 256> make_classes()
{
    std::array<uint8_t, 256> c{};
    for (int b = 0; b < 256; ++b) c[b] = (b >= 0x20 || b == 0x09) ? printable : invisible;
    c[0x0D] = cr;
    c[0x0A] = lf;
    return c;
}
constexpr std::array<uint8_t, 256> classes = make_classes();

using TextState = RxText::State;

// What the narrow text shows for a decoded character: itself up to U+00FF.
char narrow_of(char32_t c)
{
    return c < 0x100 ? char(c) : '?';
}

uint32_t drain_time_of(const TextState& state, int32_t position)
{
    auto it = std::upper_bound(state.drains.begin(), state.drains.end(), position,
                               [](int32_t p, const std::pair<int32_t, uint32_t>& d) { return p < d.first; });
    return it == state.drains.begin() ? 0 : std::prev(it)->second;
}

// One pass's line buffer and its two ways of handing text to the view. Room
// for a time stamp sits in front of the text, so a stamped line costs no copy.
struct LineBuffer {
    LineBuffer(TextState& s, LineSink& to) : state(s), sink(to) {}

    TextState& state;
    LineSink& sink;
    char stamped_text[stamp_len + line_max + 1];
    char* const text = stamped_text + stamp_len;
    int used = 0;
    int32_t line_begin = 0;  // store position of the current line's first byte

    std::string_view view() const { return {text, std::size_t(used)}; }
    std::string_view with_stamp()
    {
        rx_text_format_time(drain_time_of(state, line_begin), stamped_text);
        return {stamped_text, std::size_t(stamp_len + used)};
    }

    // p: the position after the line break, where the next line begins.
    void end_line(int32_t p)
    {
        if (state.last_line_open) {
            if (!state.line_stamped) {
                sink.replace_last_line(with_stamp());
                sink.last_line_stamped();
            } else if (used)
                sink.append_to_last_line(view());
        } else {
            sink.line_starts_at(line_begin);
            sink.line_style(state.line_style.packed());
            sink.add_line(state.stamps ? with_stamp() : view());
            if (state.stamps) sink.last_line_stamped();
        }
        state.last_line_open = false;
        state.line_stamped = !state.stamps;
        state.line_style = state.escapes.style();
        line_begin = p;
        used = 0;
    }

    // p: the position reached; a line with no byte before it waits unstamped.
    void flush(int32_t p)
    {
        const bool has_bytes = line_begin < p;
        if (state.last_line_open) {
            if (!state.line_stamped && has_bytes) {
                sink.replace_last_line(with_stamp());
                sink.last_line_stamped();
                state.line_stamped = true;
            } else if (used) {
                sink.append_to_last_line(view());
            }
        } else {
            const bool stamp = state.stamps && has_bytes;
            sink.line_starts_at(line_begin);
            sink.line_style(state.line_style.packed());
            sink.add_line(stamp ? with_stamp() : view());
            if (stamp) sink.last_line_stamped();
            state.last_line_open = true;
            state.line_stamped = stamp || !state.stamps;
        }
        used = 0;
    }
};

void convert(TextState& state, LineSink& view, const uint8_t* data, int32_t length)
{
    LineBuffer line{state, view};
    line.line_begin = state.converted;
    int32_t p = state.converted;
    int32_t end = length;
    const int mode = state.mode;
    const uint8_t pair_first = mode == rx_lb_crlf ? 0x0D : 0x0A;
    const uint8_t pair_second = mode == rx_lb_crlf ? 0x0A : 0x0D;
    const char replacement = char(state.replacement >= 0 ? state.replacement : rx_text_default_replacement);

    while (p < end) {
        const uint8_t b = data[p];
        if (state.utf8 && (b >= 0x80 || state.decoder.pending()) && !state.escapes.in_sequence()) {
            char32_t cps[4];
            int n = state.decoder.feed(b, cps);
            // A byte below 0x80 that cut a character short is itself taken below.
            const bool again = n > 0 && cps[n - 1] < 0x80;
            if (again) --n;
            for (int i = 0; i < n; ++i) {
                line.text[line.used++] = narrow_of(cps[i]);
                if (line.used == line_max) line.flush(p);
            }
            if (again) continue;
            ++p;
            if (line.used == line_max || p == end) line.flush(p);
            continue;
        }
        if (state.ansi && (b == 0x1B || state.escapes.in_sequence())) {
            const AnsiStep step = state.escapes.feed(b);
            if (step == AnsiStep::aborted) {
                // No sequence after all: its bytes show as they would without escapes.
                for (int32_t q = state.sequence_from; q < p; ++q) {
                    if (classes[data[q]] == printable)
                        line.text[line.used++] = char(data[q]);
                    else if (state.show_invisible)
                        line.text[line.used++] = replacement;
                    if (line.used == line_max) line.flush(p);
                }
                continue;  // this byte again, outside any sequence
            }
            if (step == AnsiStep::held && state.escapes.pending() == 1) state.sequence_from = p;
            ++p;
            if (line.used == line_max || p == end) line.flush(p);
            continue;
        }
        const uint8_t cls = classes[b];
        if (cls == printable) {
            // A run of printable bytes at once: none of them can end the line,
            // so only the piece limit and the end of the data stop it.
            const int32_t room = line_max - line.used;
            const int32_t stop = end - p < room ? end : p + room;
            char* out = line.text + line.used;
            const uint8_t* in = data + p;
            const uint8_t* last = data + stop;
            // With UTF-8 a byte from 0x80 up starts or continues a character.
            const uint64_t stop_high = state.utf8 ? 0x8080808080808080ull : 0;
            const unsigned top = state.utf8 ? 0x80u : 0x100u;
            while (last - in >= 8) {  // eight bytes at a time while none is below 0x20
                uint64_t w;
                std::memcpy(&w, in, 8);
                if (((w - 0x2020202020202020ull) & ~w & 0x8080808080808080ull) | (w & stop_high)) break;
                std::memcpy(out, in, 8);
                in += 8;
                out += 8;
            }
            while (in != last && classes[*in] == printable && *in < top) *out++ = char(*in++);
            line.used = int(out - line.text);
            p = int32_t(in - data);
        } else if (cls == invisible) {
            if (state.show_invisible) line.text[line.used++] = replacement;
            ++p;
        } else if (mode == rx_lb_crlf || mode == rx_lb_lfcr) {
            if (p + 1 == end) {
                --end;  // held back: the next pass sees what follows it
            } else if (b == pair_first && data[p + 1] == pair_second) {
                p += 2;
                line.end_line(p);
            } else {
                ++p;  // a lone CR or LF
            }
        } else if (mode == rx_lb_any || (mode == rx_lb_cr && cls == cr) || (mode == rx_lb_lf && cls == lf)) {
            ++p;
            line.end_line(p);
        } else {
            ++p;  // the line break of the other convention
        }
        if (line.used == line_max || p == end) line.flush(p);
    }
    state.converted = end;
}

}  // namespace

int RxText::attach(LineSink* view)
{
    if (!view) return 1;
    view->clear();
    state_.attached = true;
    state_.converted = 0;
    state_.last_line_open = false;
    state_.line_stamped = true;
    state_.mode = rx_lb_cr;
    state_.looks.clear();
    state_.escapes.restart(AnsiStyle{});
    state_.line_style = AnsiStyle{};
    state_.decoder.reset();
    return 0;
}

int RxText::utf8(bool on)
{
    state_.utf8 = on;
    state_.decoder.reset();  // a character cut by the switch is dropped
    return 0;
}

int RxText::ansi(bool on)
{
    if (on == state_.ansi) return 0;
    state_.ansi = on;
    // Either way the colours start afresh: a sequence cut by the switch is dropped.
    state_.escapes.restart(AnsiStyle{});
    return 0;
}

int RxText::line_break(int mode)
{
    if (mode < rx_lb_cr || mode > rx_lb_any)  // a negative mode would drop every line break
        return 1;
    state_.mode = mode;
    return 0;
}

int RxText::invisible(int character, bool show)
{
    if (character >= 32 && character <= 255) state_.replacement = character;
    state_.show_invisible = show;
    return 0;
}

int RxText::update(const RxStore& store, LineSink& view)
{
    if (!store.data || !state_.attached) return 1;
    RxText::Look look;
    look.from = state_.converted;
    look.mode = state_.mode;
    look.show_invisible = state_.show_invisible;
    look.replacement = char(state_.replacement >= 0 ? state_.replacement : rx_text_default_replacement);
    look.ansi = state_.ansi;
    look.utf8 = state_.utf8;
    if (!state_.looks.empty() && state_.looks.back().from == look.from) state_.looks.pop_back();
    if (state_.looks.empty() || !state_.looks.back().same_as(look)) state_.looks.push_back(look);
    view.converted_from(store, *this);
    view.begin_update();
    convert(state_, view, store.data, store.length);
    view.end_update();
    return 0;
}

std::size_t RxText::render(const uint8_t* data, int32_t from, int32_t to, std::size_t skip, std::size_t n, char* out,
                           int32_t* reached, AnsiStyle style, std::uint32_t* styles, char32_t* wide) const
{
    if (reached) *reached = from;
    const auto& looks = state_.looks;
    if (looks.empty() || n == 0) return 0;
    // The look of the first byte, and where the next one takes over.
    auto next = std::upper_bound(looks.begin(), looks.end(), from, [](int32_t p, const Look& l) { return p < l.from; });
    const Look* look = next == looks.begin() ? &looks.front() : &*std::prev(next);
    AnsiParser escapes;
    escapes.restart(look->ansi ? style : AnsiStyle{});
    int32_t sequence_from = from;
    std::size_t written = 0;
    // Writes one character shown by the byte at p; true once n are written.
    Utf8Decoder decoder;
    auto put = [&](char32_t c) {
        if (skip) {
            --skip;
            return false;
        }
        if (out) out[written] = narrow_of(c);
        if (wide) wide[written] = c;
        if (styles) styles[written] = escapes.style().packed();
        return ++written == n;
    };
    int32_t p = from;
    // The bytes of a sequence that turned out to be none, up to `end`, as
    // ordinary bytes; true once n characters are written (p: after the last).
    auto show_held = [&](int32_t end) {
        for (int32_t q = sequence_from; q < end; ++q) {
            bool full = false;
            if (classes[data[q]] == printable)
                full = put(char32_t(data[q]));
            else if (look->show_invisible)
                full = put(char32_t(uint8_t(look->replacement)));
            if (full) {
                p = q + 1;
                return true;
            }
        }
        return false;
    };
    for (; p < to; ++p) {
        if (next != looks.end() && p >= next->from) {
            if (next->ansi != look->ansi) escapes.restart(AnsiStyle{});  // as the switch did
            if (next->utf8 != look->utf8) decoder.reset();
            look = &*next++;
        }
        const uint8_t b = data[p];
        if (look->utf8 && (b >= 0x80 || decoder.pending()) && !escapes.in_sequence()) {
            char32_t cps[4];
            const int held = decoder.pending();  // the open character's bytes, just before p
            int k = decoder.feed(b, cps);
            const bool again = k > 0 && cps[k - 1] < 0x80;
            if (again) --k;
            int full = -1;
            for (int i = 0; i < k && full < 0; ++i)
                if (put(cps[i])) full = i;
            if (full >= 0) {
                // Reached: after the byte where that character began, so a
                // render started there gives it again (a cut one: per byte).
                p = (full < held ? p - held + full : p) + 1;
                break;
            }
            if (again) --p;  // this byte again, outside any character
            continue;
        }
        if (look->ansi && (b == 0x1B || escapes.in_sequence())) {
            const AnsiStep step = escapes.feed(b);
            if (step == AnsiStep::held && escapes.pending() == 1) sequence_from = p;
            if (step != AnsiStep::aborted) continue;
            if (show_held(p)) break;
            --p;  // this byte again, outside any sequence
            continue;
        }
        const uint8_t cls = classes[b];
        char c = char(b);
        if (cls == ByteClass::invisible) {
            if (!look->show_invisible) continue;
            c = look->replacement;
        } else if (cls != printable) {
            // Only the line's own break ends it; every other CR or LF was dropped.
            const int mode = look->mode;
            if (mode == rx_lb_crlf || mode == rx_lb_lfcr) {
                const uint8_t first = mode == rx_lb_crlf ? 0x0D : 0x0A;
                const uint8_t second = mode == rx_lb_crlf ? 0x0A : 0x0D;
                if (b == first && p + 1 < to && data[p + 1] == second) break;
                continue;
            }
            if (mode == rx_lb_any || (mode == rx_lb_cr && cls == cr) || (mode == rx_lb_lf && cls == lf)) break;
            continue;
        }
        if (put(char32_t(uint8_t(c)))) {
            ++p;
            break;
        }
    }
    // The open last line may end in a sequence the conversion saw cut short
    // by a byte it holds back (a CR of a CR LF pair): shown as it was there.
    if (p == to && escapes.in_sequence() && to == state_.converted && !state_.escapes.in_sequence() && written < n) {
        show_held(to);
    }
    // The same for a character cut short there: a replacement per byte.
    if (p == to && decoder.pending() && to == state_.converted && !state_.decoder.pending() && written < n) {
        char32_t cps[3];
        const int k = decoder.finish(cps);
        for (int i = 0; i < k; ++i)
            if (put(cps[i])) break;
    }
    if (reached) *reached = p;
    return written;
}

void RxText::stamp_of(int32_t position, char* out) const
{
    rx_text_format_time(drain_time_of(state_, position), out);
}

int RxText::timestamps(bool on)
{
    state_.stamps = on;
    // The line in progress stays as it is; the next line shows the choice.
    state_.line_stamped = true;
    return 0;
}

void RxText::drained(int32_t position, uint32_t time_of_day_ms)
{
    if (position < 0) return;
    // Positions only grow, except for a new store, which starts again at 0.
    while (!state_.drains.empty() && state_.drains.back().first >= position) state_.drains.pop_back();
    if (!state_.drains.empty() && state_.drains.back().second == time_of_day_ms) return;
    state_.drains.emplace_back(position, time_of_day_ms);
}

void rx_text_format_time(uint32_t time_of_day_ms, char* out)
{
    const uint32_t t = time_of_day_ms % 86400000u;
    const uint32_t parts[4] = {t / 3600000u, t / 60000u % 60u, t / 1000u % 60u, t % 1000u};
    // Fixed width, no terminator: "hh:mm:ss.mmm ".
    const auto put = [&out](uint32_t v, int digits) {
        for (int i = digits - 1; i >= 0; --i, v /= 10) out[i] = char('0' + v % 10);
        out += digits;
    };
    put(parts[0], 2);
    *out++ = ':';
    put(parts[1], 2);
    *out++ = ':';
    put(parts[2], 2);
    *out++ = '.';
    put(parts[3], 3);
    *out = ' ';
}
