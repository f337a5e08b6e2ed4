// In-memory clipboard of the native build: one text, guarded by a mutex, that
// the process itself (its tests) can read back.
#include <mutex>

#include "platform/clipboard.h"
#include "platform/clipboard_posix.h"

namespace {

struct Clipboard {
    std::mutex lock;
    std::optional<std::string> text;
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
    c.held = false;
}

ClipboardResult clipboard_set_text(std::string_view text)
{
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    if (c.held) return ClipboardResult::not_opened;
    // CF_TEXT ends at the first zero byte; a reader sees no more than that.
    c.text = std::string(text.substr(0, text.find('\0')));
    return ClipboardResult::done;
}

std::optional<std::string> clipboard_get_text()
{
    Clipboard& c = clipboard();
    std::lock_guard guard(c.lock);
    if (c.held) return std::nullopt;
    return c.text;
}
