// Windows clipboard: CF_TEXT in movable global memory, which the clipboard owns
// once SetClipboardData has taken it.
#include <windows.h>

#include <cstring>

#include "platform/clipboard.h"

namespace {

// Closes the clipboard on every way out.
struct OpenClipboardScope {
    bool opened = OpenClipboard(nullptr) != FALSE;
    ~OpenClipboardScope()
    {
        if (opened) CloseClipboard();
    }
};

// Movable global memory holding `size` bytes from data and a zero character of
// `zero` bytes; nullptr when there is no memory for it.
HGLOBAL global_copy(const void* data, size_t size, size_t zero)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + zero);
    if (memory == nullptr) return nullptr;
    void* locked = GlobalLock(memory);
    if (locked == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    if (size) std::memcpy(locked, data, size);
    GlobalUnlock(memory);
    return memory;
}

// Hands memory to the clipboard; the memory is freed when it was not taken.
ClipboardResult put(UINT format, HGLOBAL memory)
{
    if (memory == nullptr) return ClipboardResult::no_memory;
    if (SetClipboardData(format, memory) == nullptr) {
        GlobalFree(memory);
        return ClipboardResult::refused;
    }
    return ClipboardResult::done;
}

}  // namespace

ClipboardResult clipboard_set_text(std::string_view text, std::optional<std::u16string_view> unicode)
{
    OpenClipboardScope scope;
    if (!scope.opened) return ClipboardResult::not_opened;
    EmptyClipboard();
    ClipboardResult r = put(CF_TEXT, global_copy(text.data(), text.size(), 1));
    if (r == ClipboardResult::done && unicode)
        r = put(CF_UNICODETEXT, global_copy(unicode->data(), unicode->size() * sizeof(char16_t), sizeof(char16_t)));
    // Half a copy is none: a program reading the other format would paste old text.
    if (r != ClipboardResult::done) EmptyClipboard();
    return r;
}

// The clipboard's text in a format up to its zero character; bounded by the
// block's size in case the text lacks it.
template <class Char>
std::optional<std::basic_string<Char>> clipboard_read(UINT format)
{
    OpenClipboardScope scope;
    if (!scope.opened) return std::nullopt;
    HANDLE data = GetClipboardData(format);
    if (data == nullptr) return std::nullopt;
    const Char* locked = static_cast<const Char*>(GlobalLock(data));
    if (locked == nullptr) return std::nullopt;
    const size_t size = GlobalSize(data) / sizeof(Char);
    size_t n = 0;
    while (n < size && locked[n] != 0) ++n;
    std::basic_string<Char> text(locked, n);
    GlobalUnlock(data);
    return text;
}

std::optional<std::string> clipboard_get_text()
{
    return clipboard_read<char>(CF_TEXT);
}

std::optional<std::u16string> clipboard_get_unicode_text()
{
    return clipboard_read<char16_t>(CF_UNICODETEXT);
}
