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

}  // namespace

ClipboardResult clipboard_set_text(std::string_view text)
{
    OpenClipboardScope scope;
    if (!scope.opened) return ClipboardResult::not_opened;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (memory == nullptr) return ClipboardResult::no_memory;
    void* locked = GlobalLock(memory);
    if (locked == nullptr) {
        GlobalFree(memory);
        return ClipboardResult::no_memory;
    }
    if (!text.empty()) std::memcpy(locked, text.data(), text.size());
    static_cast<char*>(locked)[text.size()] = '\0';
    GlobalUnlock(memory);
    if (SetClipboardData(CF_TEXT, memory) == nullptr) {
        // Not taken: the memory is still ours to free.
        GlobalFree(memory);
        return ClipboardResult::refused;
    }
    return ClipboardResult::done;
}

std::optional<std::string> clipboard_get_text()
{
    OpenClipboardScope scope;
    if (!scope.opened) return std::nullopt;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data == nullptr) return std::nullopt;
    const char* locked = static_cast<const char*>(GlobalLock(data));
    if (locked == nullptr) return std::nullopt;
    // Bounded by the block's size in case the text lacks its zero byte.
    const size_t size = GlobalSize(data);
    std::string text(locked, strnlen(locked, size));
    GlobalUnlock(data);
    return text;
}
