// The portable services: clipboard text, posting, and resolving system colours.
#include "ui/services.h"

#include "platform/clipboard.h"
#include "ui/application.h"
#include "ui/backend.h"
#include "ui/button.h"
#include "ui/color.h"

namespace ui {

// One clipboard for both backends: the system's in the Windows build, the
// process's own in the native one, the same that CopyTextToClipboard writes.
bool set_clipboard_text(std::string_view text, std::optional<std::u16string_view> unicode)
{
    return clipboard_set_text(text, unicode) == ClipboardResult::done;
}

std::optional<std::string> clipboard_text()
{
    return clipboard_get_text();
}

std::optional<std::u16string> clipboard_unicode_text()
{
    return clipboard_get_unicode_text();
}

void post(std::function<void()> action)
{
    app().post(std::move(action));
}

void watch_device_changes(std::function<void()> handler)
{
    app().on_devices_changed = std::move(handler);
}

void post_click(Button& button)
{
    app().post([&button] { button.click(); });
}

Color Color::resolve() const
{
    if (!is_system()) return *this;
    return Color::from_value(backend::sys_color(static_cast<int>(sys())) & 0xFFFFFF);
}

}  // namespace ui
