// The Win32 side of menus (menu.h): a form's menu bar built from its MainMenu,
// the owner-drawn icons of its items, and the owning handle of a menu not yet
// given to a window.
#pragma once

#include <windows.h>

#include <utility>

namespace ui {
class MainMenu;
}

namespace ui::win32 {

// Owns a menu and destroys it (DestroyMenu, with its pop-ups) unless released
// to a window or a parent menu.
class OwnedMenu {
 public:
    OwnedMenu() = default;
    explicit OwnedMenu(HMENU m) : menu_(m) {}
    ~OwnedMenu() { reset(); }
    OwnedMenu(OwnedMenu&& other) noexcept : menu_(other.release()) {}
    OwnedMenu& operator=(OwnedMenu&& other) noexcept
    {
        if (this != &other) reset(other.release());
        return *this;
    }
    OwnedMenu(const OwnedMenu&) = delete;
    OwnedMenu& operator=(const OwnedMenu&) = delete;

    HMENU get() const { return menu_; }
    explicit operator bool() const { return menu_ != nullptr; }
    void reset(HMENU m = nullptr)
    {
        if (menu_) DestroyMenu(menu_);
        menu_ = m;
    }
    HMENU release() { return std::exchange(menu_, nullptr); }

 private:
    HMENU menu_ = nullptr;
};

// A menu bar of the menu's visible items; empty for no menu.
OwnedMenu build_menu_bar(MainMenu* menu);
// Updates the item `id` in place in bar; false when the bar has to be built
// again (an item that is new, hidden or shown, or not in the bar).
bool update_menu_item(HMENU bar, MainMenu& menu, int id);
// WM_MEASUREITEM and WM_DRAWITEM of the menu's icons; false when the message
// is not for the menu (another owner-drawn control, no menu, no icons to size).
bool measure_menu_item(const MainMenu* menu, MEASUREITEMSTRUCT& mi);
bool draw_menu_item(MainMenu* menu, const DRAWITEMSTRUCT& di);

}  // namespace ui::win32
