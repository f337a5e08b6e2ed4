// In-memory clipboard of the native build: one text, and its UTF-16 twin when
// one was given (Windows would convert the text; tests want what was put),
// guarded by a mutex, that the process itself (its tests) can read back.
#include <mutex>

#include "platform/clipboard.h"
#include "platform/clipboard_posix.h"

namespace {

struct Clipboard {
    std::mutex lock;
    std::optional<std::string> text;
    std::optional<std::u16string> unicode;
    bool held = false;
};

Clipboard& clipboard()
{
    static Clipboard instance;
    return instance;
}

}  // namespace

void clipboard_posix_hold(bool held)
{
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    c.held = held;
}

void clipboard_posix_reset()
{
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    c.text.reset();
    c.unicode.reset();
    c.held = false;
}

ClipboardResult clipboard_set_text(std::string_view text, std::optional<std::u16string_view> unicode)
{
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    if (c.held) return ClipboardResult::not_opened;
    // CF_TEXT ends at the first zero byte; a reader sees no more than that.
    c.text = std::string(text.substr(0, text.find('\0')));
    c.unicode.reset();
    if (unicode) c.unicode = std::u16string(unicode->substr(0, unicode->find(u'\0')));
    return ClipboardResult::done;
}

std::optional<std::string> clipboard_get_text()
{
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    if (c.held) return std::nullopt;
    return c.text;
}

std::optional<std::u16string> clipboard_get_unicode_text()
{
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    if (c.held) return std::nullopt;
    return c.unicode;
}
