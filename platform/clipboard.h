// Clipboard text: the Windows clipboard (CF_TEXT, and CF_UNICODETEXT beside it
// when given) in the Windows build, an in-memory clipboard of this process in
// the native build.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class ClipboardResult {
    done,
    not_opened,  // another window or thread holds the clipboard open
    no_memory,   // no memory for the copy; the clipboard is left empty
    refused,     // the system did not take the data; the clipboard is left empty
};

// Empties the clipboard and puts `text` on it as CF_TEXT (with its zero byte),
// and `unicode`, when given, as CF_UNICODETEXT: characters the code page has
// no byte for reach other programs through that one.
ClipboardResult clipboard_set_text(std::string_view text, std::optional<std::u16string_view> unicode = std::nullopt);

// The clipboard's CF_TEXT up to its zero byte; nothing when the clipboard holds
// no text or cannot be opened.
std::optional<std::string> clipboard_get_text();
// The clipboard's CF_UNICODETEXT up to its zero character, the same way.
std::optional<std::u16string> clipboard_get_unicode_text();
