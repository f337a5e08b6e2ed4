// The main menu: items with captions, accelerators, check marks (self-toggling
// check items and exclusive radio groups), enabled state and icons from an
// image list. Items are members of their form, like controls.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/input.h"

namespace ui {

class Form;
class ImageList;
class MainMenu;

enum class MenuCheck : std::uint8_t {
    None,
    Check,  // toggles its own check mark on each click
    Radio,  // checking it unchecks the other radio items of its group_index
            // among its siblings; clicking a checked one leaves it checked
};

struct Separator {};
inline constexpr Separator separator{};

class MenuItem {
 public:
    MenuItem(MainMenu& menu, std::string name, std::string caption);
    MenuItem(MenuItem& parent, std::string name, std::string caption, ShortCut shortcut = {},
             MenuCheck check = MenuCheck::None);
    MenuItem(MenuItem& parent, Separator);
    ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const std::string& name() const { return name_; }
    // Unique in its menu, from 1; the backend's command id.
    int id() const { return id_; }
    MainMenu& menu() const { return *menu_; }
    MenuItem* parent() const { return parent_; }  // nullptr for a top-level item
    const std::vector<MenuItem*>& items() const { return items_; }
    bool is_separator() const { return separator_; }

    const std::string& caption() const { return caption_; }
    void set_caption(std::string c);
    ShortCut shortcut() const { return shortcut_; }
    void set_shortcut(ShortCut s);
    MenuCheck check_kind() const { return check_; }
    void set_check_kind(MenuCheck k) { check_ = k; }
    int group_index() const { return group_; }
    void set_group_index(int g) { group_ = g; }
    bool checked() const { return checked_; }
    // Sets the mark (a radio item unchecks its group); fires nothing.
    void set_checked(bool c);
    bool enabled() const { return enabled_; }
    void set_enabled(bool e);
    bool visible() const { return visible_; }
    void set_visible(bool v);
    // Icon from the menu's image list; -1 = none.
    int image_index() const { return image_; }
    void set_image_index(int i);

    // Fired by a user choice, its accelerator or click(); after the check mark
    // has changed.
    std::function<void()> on_click;
    // What choosing the item does: nothing when it or a parent is disabled;
    // otherwise toggles/sets the check mark, then fires on_click. Window code
    // runs a command through this, so the command's guards stay in one place.
    void click();
    bool enabled_in_tree() const;

    MenuItem* find(std::string_view name);
    MenuItem* find_id(int id);

 private:
    friend class MainMenu;
    MenuItem(MainMenu& menu);  // the root
    void changed();

    MainMenu* menu_;
    MenuItem* parent_ = nullptr;
    std::string name_;
    int id_ = 0;
    std::vector<MenuItem*> items_;
    bool separator_ = false;
    std::string caption_;
    ShortCut shortcut_;
    MenuCheck check_ = MenuCheck::None;
    int group_ = 0;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    int image_ = -1;
};

// The menu bar of a form. Top-level items are made with MenuItem(menu, ...).
class MainMenu {
 public:
    explicit MainMenu(Form& form);
    ~MainMenu();
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    Form& form() const { return form_; }
    const std::vector<MenuItem*>& items() const { return root_.items(); }
    ImageList* images() const { return images_; }
    void set_images(ImageList* images);

    MenuItem* find(std::string_view name) { return root_.find(name); }
    MenuItem* find_id(int id) { return root_.find_id(id); }
    // The visible item carrying this accelerator, or nullptr.
    MenuItem* find_shortcut(const ShortCut& sc);
    // Menu path by captions without '&', e.g. {"Rx", "Text", "Word wrap"}.
    MenuItem* find_path(const std::vector<std::string_view>& captions);

 private:
    friend class MenuItem;
    int next_id() { return ++last_id_; }
    void item_changed(const MenuItem& item);

    Form& form_;
    MenuItem root_;
    ImageList* images_ = nullptr;
    int last_id_ = 0;
};

}  // namespace ui
