// UTF-8 decoder and encoder (see utf8_decode.h). The second byte's range
// refuses overlong forms, surrogates and code points above U+10FFFF.
#include "link/utf8_decode.h"

int Utf8Decoder::start(std::uint8_t b, char32_t* out)
{
    lo_ = 0x80;
    hi_ = 0xBF;
    if (b < 0x80) {
        out[0] = b;
        return 1;
    }
    if (b >= 0xC2 && b <= 0xDF) {
        need_ = 2;
        code_ = b & 0x1Fu;
    } else if (b >= 0xE0 && b <= 0xEF) {
        need_ = 3;
        code_ = b & 0x0Fu;
        if (b == 0xE0) lo_ = 0xA0;
        if (b == 0xED) hi_ = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        need_ = 4;
        code_ = b & 0x07u;
        if (b == 0xF0) lo_ = 0x90;
        if (b == 0xF4) hi_ = 0x8F;
    } else {
        out[0] = utf8_replacement;  // a continuation byte alone, C0, C1, F5-FF
        return 1;
    }
    have_ = 1;
    return 0;
}

int Utf8Decoder::feed(std::uint8_t b, char32_t out[4])
{
    if (have_ == 0) return start(b, out);
    if (b < lo_ || b > hi_) {
        // The open character is cut: each of its bytes is bad, then this one starts afresh.
        int n = 0;
        for (; n < have_; ++n) out[n] = utf8_replacement;
        have_ = need_ = 0;
        return n + start(b, out + n);
    }
    code_ = code_ << 6 | (b & 0x3Fu);
    lo_ = 0x80;
    hi_ = 0xBF;
    if (++have_ < need_) return 0;
    have_ = need_ = 0;
    out[0] = code_;
    return 1;
}

int Utf8Decoder::finish(char32_t out[3])
{
    const int n = have_;
    for (int i = 0; i < n; ++i) out[i] = utf8_replacement;
    have_ = need_ = 0;
    return n;
}

int utf8_encode(char32_t c, char out[4])
{
    if (c < 0x80) {
        out[0] = char(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = char(0xC0 | c >> 6);
        out[1] = char(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = char(0xE0 | c >> 12);
        out[1] = char(0x80 | (c >> 6 & 0x3F));
        out[2] = char(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = char(0xF0 | c >> 18);
    out[1] = char(0x80 | (c >> 12 & 0x3F));
    out[2] = char(0x80 | (c >> 6 & 0x3F));
    out[3] = char(0x80 | (c & 0x3F));
    return 4;
}
