// The portable services: posting, and resolving system colours.
#include "ui/services.h"

#include "ui/application.h"
#include "ui/backend.h"
#include "ui/button.h"
#include "ui/color.h"

namespace ui {

void post(std::function<void()> action)
{
    app().post(std::move(action));
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
