// Turns received bytes into lines by the line-break mode. Bytes are scanned in
// runs into a 1024-byte line buffer; the view is called once per line or piece.
#include "link/rx_text.h"

#include <array>
#include <cstring>
#include <string_view>

#include "link/line_sink.h"
#include "link/rx_store.h"

namespace {

constexpr int line_max = 1023;  // characters per piece; one byte left for a terminator

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

struct TextState {
    LineSink* view = nullptr;
    int32_t converted = 0;
    bool last_line_open = false;
    int mode = rx_lb_cr;
    bool show_invisible = false;
    int replacement = -1;  // not set
};
TextState state;

// One pass's line buffer and its two ways of handing text to the view.
struct LineBuffer {
    char text[line_max + 1];
    int used = 0;

    std::string_view view() const { return {text, std::size_t(used)}; }

    void end_line()
    {
        if (state.last_line_open) {
            if (used) state.view->append_to_last_line(view());
        } else {
            state.view->add_line(view());
        }
        state.last_line_open = false;
        used = 0;
    }

    void flush()
    {
        if (state.last_line_open) {
            if (used) state.view->append_to_last_line(view());
        } else {
            state.view->add_line(view());
            state.last_line_open = true;
        }
        used = 0;
    }
};

void convert(const uint8_t* data, int32_t length)
{
    LineBuffer line;
    int32_t p = state.converted;
    int32_t end = length;
    const int mode = state.mode;
    const uint8_t pair_first = mode == rx_lb_crlf ? 0x0D : 0x0A;
    const uint8_t pair_second = mode == rx_lb_crlf ? 0x0A : 0x0D;
    const char replacement = char(state.replacement >= 0 ? state.replacement : rx_text_default_replacement);

    while (p < end) {
        const uint8_t b = data[p];
        const uint8_t cls = classes[b];
        if (cls == printable) {
            // A run of printable bytes at once: none of them can end the line,
            // so only the piece limit and the end of the data stop it.
            const int32_t room = line_max - line.used;
            const int32_t stop = end - p < room ? end : p + room;
            char* out = line.text + line.used;
            const uint8_t* in = data + p;
            const uint8_t* last = data + stop;
            while (last - in >= 8) {  // eight bytes at a time while none is below 0x20
                uint64_t w;
                std::memcpy(&w, in, 8);
                if ((w - 0x2020202020202020ull) & ~w & 0x8080808080808080ull) break;
                std::memcpy(out, in, 8);
                in += 8;
                out += 8;
            }
            while (in != last && classes[*in] == printable) *out++ = char(*in++);
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
                line.end_line();
            } else {
                ++p;  // a lone CR or LF
            }
        } else if (mode == rx_lb_any || (mode == rx_lb_cr && cls == cr) || (mode == rx_lb_lf && cls == lf)) {
            ++p;
            line.end_line();
        } else {
            ++p;  // the line break of the other convention
        }
        if (line.used == line_max || p == end) line.flush();
    }
    state.converted = end;
}

}  // namespace

int rx_text_attach(LineSink* view)
{
    if (!view) return 1;
    view->clear();
    state.view = view;
    state.converted = 0;
    state.last_line_open = false;
    state.mode = rx_lb_cr;
    return 0;
}

int rx_text_line_break(int mode)
{
    if (mode < rx_lb_cr || mode > rx_lb_any)  // a negative mode would drop every line break
        return 1;
    state.mode = mode;
    return 0;
}

int rx_text_invisible(int character, bool show)
{
    if (character >= 32 && character <= 255) state.replacement = character;
    state.show_invisible = show;
    return 0;
}

int rx_text_update()
{
    const RxStore* store = nullptr;
    if (rx_store_info(&store) != 0 || !state.view) return 1;
    state.view->begin_update();
    convert(store->data, store->length);
    state.view->end_update();
    return 0;
}
