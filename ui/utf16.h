// UTF-16 of code points, as the wide Windows calls and CF_UNICODETEXT take them.
#pragma once

#include <string>
#include <string_view>

namespace ui {

// Appends c as one UTF-16 unit, or a surrogate pair above U+FFFF; what is no
// code point becomes U+FFFD.
inline void append_utf16(std::u16string& out, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x10000) {
        out.push_back(char16_t(c));
        return;
    }
    c -= 0x10000;
    out.push_back(char16_t(0xD800 + (c >> 10)));
    out.push_back(char16_t(0xDC00 + (c & 0x3FF)));
}

inline std::u16string utf16_of(std::u32string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (char32_t c : text) append_utf16(out, c);
    return out;
}

}  // namespace ui
