// The escape-sequence parser of received text (see ansi_escape.h).
#include "link/ansi_escape.h"

#include <algorithm>

namespace {

constexpr std::uint8_t esc = 0x1B, bel = 0x07;
constexpr std::uint8_t cube_levels[6] = {0, 95, 135, 175, 215, 255};

int cube_index(int v)
{
    // Nearest of the six cube levels.
    int best = 0;
    for (int i = 1; i < 6; ++i)
        if (std::abs(cube_levels[i] - v) < std::abs(cube_levels[best] - v)) best = i;
    return best;
}

int distance(std::uint32_t rgb, int r, int g, int b)
{
    const int dr = int(rgb >> 16 & 0xFF) - r, dg = int(rgb >> 8 & 0xFF) - g, db = int(rgb & 0xFF) - b;
    return dr * dr + dg * dg + db * db;
}

}  // namespace

std::uint32_t ansi_palette_rgb(std::uint8_t i)
{
    static constexpr std::uint32_t system[16] = {
        0x000000, 0xCD0000, 0x00CD00, 0xCDCD00, 0x0000EE, 0xCD00CD, 0x00CDCD, 0xE5E5E5,
        0x7F7F7F, 0xFF0000, 0x00FF00, 0xFFFF00, 0x5C5CFF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    };
    if (i < 16) return system[i];
    if (i < 232) {
        const int c = i - 16;
        return std::uint32_t(cube_levels[c / 36]) << 16 | std::uint32_t(cube_levels[c / 6 % 6]) << 8 |
               cube_levels[c % 6];
    }
    const std::uint32_t grey = 8 + 10 * std::uint32_t(i - 232);
    return grey << 16 | grey << 8 | grey;
}

std::uint8_t ansi_nearest(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    const std::uint8_t cube = std::uint8_t(16 + 36 * cube_index(r) + 6 * cube_index(g) + cube_index(b));
    const int mean = (r + g + b) / 3;
    const std::uint8_t grey = std::uint8_t(232 + std::clamp((mean - 3) / 10, 0, 23));
    return distance(ansi_palette_rgb(grey), r, g, b) < distance(ansi_palette_rgb(cube), r, g, b) ? grey : cube;
}

void AnsiParser::restart(AnsiStyle s)
{
    style_ = s;
    phase_ = ground;
    length_ = 0;
}

AnsiStep AnsiParser::abort()
{
    phase_ = ground;
    return AnsiStep::aborted;  // length_ stays: the caller shows that many bytes
}

AnsiStep AnsiParser::feed(std::uint8_t b)
{
    if (phase_ == ground) {
        if (b != esc) return AnsiStep::text;
        phase_ = escape;
        length_ = 1;
        return AnsiStep::held;
    }
    // Any other control byte (a line break above all) ends the sequence unseen,
    // so no sequence runs from one line into the next.
    if (b < 0x20 && !(b == bel && phase_ == string) && !(b == esc && phase_ == string)) return abort();
    if (length_ >= max_sequence - 1 && !(phase_ == csi && b >= 0x40 && b <= 0x7E) && !(phase_ == string && b == bel) &&
        !(phase_ == string_escape && b == '\\') && !(phase_ == escape_more && b >= 0x30 && b <= 0x7E))
        return abort();
    ++length_;
    switch (phase_) {
        case escape:
            if (b == '[') {
                phase_ = csi;
                sgr_ = true;
                count_ = 0;
                return AnsiStep::held;
            }
            // OSC, DCS, SOS, PM and APC carry a string up to BEL or ST.
            if (b == ']' || b == 'P' || b == 'X' || b == '^' || b == '_') {
                phase_ = string;
                return AnsiStep::held;
            }
            if (b >= 0x20 && b <= 0x2F) {
                phase_ = escape_more;
                return AnsiStep::held;
            }
            if (b <= 0x7E) break;  // a two-byte sequence (ESC 7, ESC c ...)
            --length_;
            return abort();
        case escape_more:
            if (b >= 0x20 && b <= 0x2F) return AnsiStep::held;
            if (b >= 0x30 && b <= 0x7E) break;
            --length_;
            return abort();
        case csi:
            if ((b >= '0' && b <= '9') || b == ';' || b == ':') {
                if (count_ == 0) params_[count_++] = 0;
                if (b >= '0' && b <= '9') {
                    if (count_ <= max_params) {
                        const unsigned v = params_[count_ - 1] * 10u + unsigned(b - '0');
                        params_[count_ - 1] = std::uint16_t(std::min(v, 65535u));
                    }
                } else if (++count_ <= max_params) {
                    params_[count_ - 1] = 0;  // an empty parameter is 0
                }
                return AnsiStep::held;
            }
            if (b >= 0x20 && b <= 0x3F) {  // private markers and intermediates
                sgr_ = false;
                return AnsiStep::held;
            }
            if (b <= 0x7E) {
                if (b == 'm' && sgr_) apply_sgr();
                break;
            }
            --length_;
            return abort();
        case string:
            if (b == esc) {
                phase_ = string_escape;
                return AnsiStep::held;
            }
            if (b == bel) break;
            return AnsiStep::held;
        case string_escape:
            if (b == '\\') break;
            --length_;
            return abort();
        case ground:
            break;
    }
    phase_ = ground;
    length_ = 0;
    return AnsiStep::consumed;
}

void AnsiParser::apply_sgr()
{
    const int n = std::min(count_, max_params);
    // Parameters were cleared as they began; ESC[m is ESC[0m.
    if (n == 0) {
        style_ = AnsiStyle{};
        return;
    }
    auto set = [this](std::uint8_t bit, bool on) {
        style_.flags = std::uint8_t(on ? style_.flags | bit : style_.flags & ~bit);
    };
    for (int i = 0; i < n; ++i) {
        const unsigned p = params_[i];
        if (p == 0) {
            style_ = AnsiStyle{};
        } else if (p == 1) {
            set(AnsiStyle::bold, true);
        } else if (p == 2) {
            set(AnsiStyle::faint, true);
        } else if (p == 3) {
            set(AnsiStyle::italic, true);
        } else if (p == 4) {
            set(AnsiStyle::underline, true);
        } else if (p == 7) {
            set(AnsiStyle::reverse, true);
        } else if (p == 22) {
            set(AnsiStyle::bold | AnsiStyle::faint, false);
        } else if (p == 23) {
            set(AnsiStyle::italic, false);
        } else if (p == 24) {
            set(AnsiStyle::underline, false);
        } else if (p == 27) {
            set(AnsiStyle::reverse, false);
        } else if ((p >= 30 && p <= 37) || (p >= 90 && p <= 97)) {
            style_.fg = std::uint8_t(p >= 90 ? p - 90 + 8 : p - 30);
            set(AnsiStyle::fg_set, true);
        } else if ((p >= 40 && p <= 47) || (p >= 100 && p <= 107)) {
            style_.bg = std::uint8_t(p >= 100 ? p - 100 + 8 : p - 40);
            set(AnsiStyle::bg_set, true);
        } else if (p == 39) {
            style_.fg = 0;
            set(AnsiStyle::fg_set, false);
        } else if (p == 49) {
            style_.bg = 0;
            set(AnsiStyle::bg_set, false);
        } else if (p == 38 || p == 48) {
            int colour = -1;
            if (i + 2 < n && params_[i + 1] == 5) {
                colour = std::min<int>(params_[i + 2], 255);
                i += 2;
            } else if (i + 4 < n && params_[i + 1] == 2) {
                auto c = [&](int k) { return std::uint8_t(std::min<int>(params_[i + k], 255)); };
                colour = ansi_nearest(c(2), c(3), c(4));
                i += 4;
            } else {
                return;  // a colour without its arguments: the rest cannot be read
            }
            if (p == 38) {
                style_.fg = std::uint8_t(colour);
                set(AnsiStyle::fg_set, true);
            } else {
                style_.bg = std::uint8_t(colour);
                set(AnsiStyle::bg_set, true);
            }
        }
    }
}
