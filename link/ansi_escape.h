// Escape sequences in received text: SGR colours and attributes as a compact
// style, every other CSI, OSC and two-byte ESC sequence consumed unseen.
#pragma once

#include <cstdint>

// The colours and attributes that apply to the next character. Four bytes, so
// it can be kept per line or per checkpoint; a 24-bit colour is kept as the
// nearest entry of the 256-colour palette.
struct AnsiStyle {
    enum : std::uint8_t {
        fg_set = 1,  // fg holds a palette index; clear: the view's default colour
        bg_set = 2,
        bold = 4,
        faint = 8,
        italic = 16,
        underline = 32,
        reverse = 64,
    };
    std::uint8_t fg = 0, bg = 0, flags = 0, spare = 0;

    bool plain() const { return flags == 0; }
    std::uint32_t packed() const { return std::uint32_t(fg) | std::uint32_t(bg) << 8 | std::uint32_t(flags) << 16; }
    static AnsiStyle unpacked(std::uint32_t v)
    {
        return AnsiStyle{std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), 0};
    }
    friend bool operator==(const AnsiStyle& a, const AnsiStyle& b) { return a.packed() == b.packed(); }
};

// What one byte was to the parser.
enum class AnsiStep : std::uint8_t {
    text,      // an ordinary byte: shown (or dropped) as without escapes
    held,      // part of a sequence that has not ended yet
    consumed,  // the last byte of a sequence; the style may have changed
    // The sequence so far (pending() bytes before this one) is no sequence:
    // those bytes are ordinary after all, and this byte must be fed again.
    aborted,
};

class AnsiParser {
 public:
    // A sequence longer than this is shown as it came, so nothing is swallowed unseen.
    static constexpr int max_sequence = 64;

    AnsiStep feed(std::uint8_t b);
    // Bytes of the sequence in progress (before an aborted byte: the ones to show).
    int pending() const { return length_; }
    bool in_sequence() const { return phase_ != ground; }
    AnsiStyle style() const { return style_; }
    // Starts from a known style, outside any sequence (a line's first byte).
    void restart(AnsiStyle s);

 private:
    enum Phase : std::uint8_t { ground, escape, escape_more, csi, string, string_escape };
    AnsiStep abort();
    void apply_sgr();

    static constexpr int max_params = 16;
    AnsiStyle style_;
    Phase phase_ = ground;
    int length_ = 0;
    bool sgr_ = true;  // no private marker or intermediate: an "m" final is SGR
    int count_ = 0;    // parameters so far (the one being read included)
    std::uint16_t params_[max_params] = {};
};

// The 256-colour palette as 0xRRGGBB: 16 system colours, the 6x6x6 cube and
// 24 greys, as xterm has them.
std::uint32_t ansi_palette_rgb(std::uint8_t index);
// The palette entry nearest an RGB colour (cube or grey ramp).
std::uint8_t ansi_nearest(std::uint8_t r, std::uint8_t g, std::uint8_t b);
