// Main menu items: tree, check and radio marks, the click path and lookups.
#include "ui/menu.h"

#include <algorithm>

#include "ui/form.h"

namespace ui {

MenuItem::MenuItem(MainMenu& menu) : menu_(&menu) {}

MenuItem::MenuItem(MainMenu& menu, std::string name, std::string caption)
    : menu_(&menu), name_(std::move(name)), caption_(std::move(caption))
{
    id_ = menu.next_id();
    menu.root_.items_.push_back(this);
    changed();
}

MenuItem::MenuItem(MenuItem& parent, std::string name, std::string caption, ShortCut sc, MenuCheck check)
    : menu_(parent.menu_), name_(std::move(name)), caption_(std::move(caption)), shortcut_(sc), check_(check)
{
    id_ = menu_->next_id();
    parent.items_.push_back(this);
    parent_ = parent.id_ ? &parent : nullptr;
    changed();
}

MenuItem::MenuItem(MenuItem& parent, Separator) : MenuItem(parent, {}, "-")
{
    separator_ = true;
}

MenuItem::~MenuItem()
{
    if (id_ == 0) return;  // the root
    auto& siblings = parent_ ? parent_->items_ : menu_->root_.items_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
}

void MenuItem::changed()
{
    menu_->item_changed(*this);
}

void MenuItem::set_caption(std::string c)
{
    caption_ = std::move(c);
    changed();
}

void MenuItem::set_shortcut(ShortCut s)
{
    shortcut_ = s;
    changed();
}

void MenuItem::set_checked(bool c)
{
    if (c && check_ == MenuCheck::Radio) {
        auto& siblings = parent_ ? parent_->items_ : menu_->root_.items_;
        for (MenuItem* s : siblings)
            if (s != this && s->check_ == MenuCheck::Radio && s->group_ == group_ && s->checked_) {
                s->checked_ = false;
                s->changed();
            }
    }
    if (checked_ == c) return;
    checked_ = c;
    changed();
}

void MenuItem::set_enabled(bool e)
{
    enabled_ = e;
    changed();
}

void MenuItem::set_visible(bool v)
{
    visible_ = v;
    changed();
}

void MenuItem::set_image_index(int i)
{
    image_ = i;
    changed();
}

bool MenuItem::enabled_in_tree() const
{
    for (const MenuItem* m = this; m; m = m->parent_)
        if (!m->enabled_ || !m->visible_) return false;
    return true;
}

void MenuItem::click()
{
    if (separator_ || !enabled_in_tree()) return;
    if (check_ == MenuCheck::Check)
        set_checked(!checked_);
    else if (check_ == MenuCheck::Radio)
        set_checked(true);
    if (on_click) on_click();
}

MenuItem* MenuItem::find(std::string_view name)
{
    for (MenuItem* m : items_) {
        if (m->name_ == name) return m;
        if (MenuItem* d = m->find(name)) return d;
    }
    return nullptr;
}

MenuItem* MenuItem::find_id(int id)
{
    for (MenuItem* m : items_) {
        if (m->id_ == id) return m;
        if (MenuItem* d = m->find_id(id)) return d;
    }
    return nullptr;
}

MainMenu::MainMenu(Form& form) : form_(form), root_(*this)
{
    form_.menu_ = this;
}

MainMenu::~MainMenu()
{
    if (form_.menu_ == this) form_.menu_ = nullptr;
}

void MainMenu::set_images(ImageList* images)
{
    images_ = images;
    item_changed(root_);
}

void MainMenu::item_changed(const MenuItem& item)
{
    if (form_.peer()) form_.peer()->sync(Prop::Menu, item.id() == 0 ? -1 : item.id());
}

static MenuItem* find_sc(const std::vector<MenuItem*>& items, const ShortCut& sc)
{
    for (MenuItem* m : items) {
        if (!m->visible()) continue;
        if (!m->is_separator() && m->shortcut() == sc) return m;
        if (MenuItem* d = find_sc(m->items(), sc)) return d;
    }
    return nullptr;
}

MenuItem* MainMenu::find_shortcut(const ShortCut& sc)
{
    return sc.empty() ? nullptr : find_sc(root_.items(), sc);
}

static std::string strip_amp(std::string_view s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) ++i;
        out += s[i];
    }
    return out;
}

MenuItem* MainMenu::find_path(const std::vector<std::string_view>& captions)
{
    const std::vector<MenuItem*>* level = &root_.items();
    MenuItem* found = nullptr;
    for (std::string_view c : captions) {
        found = nullptr;
        for (MenuItem* m : *level)
            if (!m->is_separator() && strip_amp(m->caption()) == strip_amp(c)) {
                found = m;
                break;
            }
        if (!found) return nullptr;
        level = &found->items();
    }
    return found;
}

}  // namespace ui
