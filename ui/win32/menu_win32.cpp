// A form's menu bar: items with their accelerator text, check marks, radio
// marks and owner-drawn icons, built from the MenuItem tree.
#include "ui/win32/menu_win32.h"

#include <string>
#include <vector>

#include "ui/image.h"
#include "ui/menu.h"
#include "ui/win32/gdi_canvas.h"
#include "ui/win32/win32_util.h"

namespace ui::win32 {

namespace {

// The menu text of an item: caption, then the accelerator after a tab.
std::string menu_text(const MenuItem& m)
{
    std::string s = m.caption();
    if (!m.shortcut().empty()) {
        s += '\t';
        s += m.shortcut().text();
    }
    return s;
}

void fill_item(MENUITEMINFOA& mi, const MenuItem& m, const ImageList* images, std::string& text)
{
    mi = MENUITEMINFOA{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE;
    mi.wID = static_cast<UINT>(m.id());
    if (m.is_separator()) {
        mi.fType = MFT_SEPARATOR;
        return;
    }
    mi.fMask |= MIIM_STRING;
    text = menu_text(m);
    mi.dwTypeData = text.data();
    mi.fType = m.check_kind() == MenuCheck::Radio ? MFT_RADIOCHECK : MFT_STRING;
    mi.fState = (m.enabled() ? MFS_ENABLED : MFS_DISABLED) | (m.checked() ? MFS_CHECKED : MFS_UNCHECKED);
    // Icons are drawn on request (WM_DRAWITEM), so their transparent colour is
    // honoured everywhere; alpha bitmaps in menus are not. In a pop-up with any
    // icon every item takes the icon column, blank or not: the system places
    // the shortcut column by each item's own bitmap but shifts every caption
    // by the widest, so an item without one would have its caption run into
    // its shortcut.
    const MenuItem* popup = m.parent();
    bool icon_column = false;
    if (images && popup)
        for (const MenuItem* sibling : popup->items())
            if (!sibling->is_separator() && images->get(sibling->image_index())) icon_column = true;
    if (icon_column) {
        mi.fMask |= MIIM_BITMAP;
        mi.hbmpItem = HBMMENU_CALLBACK;
    }
}

void add_items(HMENU into, const std::vector<MenuItem*>& items, const ImageList* images)
{
    for (MenuItem* m : items) {
        if (!m->visible()) continue;
        MENUITEMINFOA mi;
        std::string text;
        fill_item(mi, *m, images, text);
        OwnedMenu sub;
        if (!m->items().empty()) {
            sub.reset(CreatePopupMenu());
            add_items(sub.get(), m->items(), images);
            mi.fMask |= MIIM_SUBMENU;
            mi.hSubMenu = sub.get();
        }
        // The pop-up belongs to the item once it is in.
        if (InsertMenuItemA(into, GetMenuItemCount(into), TRUE, &mi)) sub.release();
    }
}

}  // namespace

OwnedMenu build_menu_bar(MainMenu* menu)
{
    OwnedMenu bar;
    if (!menu) return bar;
    bar.reset(CreateMenu());
    add_items(bar.get(), menu->items(), menu->images());
    return bar;
}

bool update_menu_item(HMENU bar, MainMenu& menu, int id)
{
    MenuItem* item = id > 0 ? menu.find_id(id) : nullptr;
    if (!item || !bar || !item->visible() || GetMenuState(bar, id, MF_BYCOMMAND) == static_cast<UINT>(-1)) return false;
    MENUITEMINFOA mi;
    std::string text;
    fill_item(mi, *item, menu.images(), text);
    SetMenuItemInfoA(bar, id, FALSE, &mi);
    return true;
}

bool measure_menu_item(const MainMenu* menu, MEASUREITEMSTRUCT& mi)
{
    const ImageList* images = menu ? menu->images() : nullptr;
    if (mi.CtlType != ODT_MENU || !images) return false;
    // A few pixels more than the icon keep it off the caption beside it.
    mi.itemWidth = static_cast<UINT>(scale(images->width() + 3));
    mi.itemHeight = static_cast<UINT>(scale(images->height()));
    return true;
}

bool draw_menu_item(MainMenu* menu, const DRAWITEMSTRUCT& di)
{
    if (di.CtlType != ODT_MENU || !menu) return false;
    MenuItem* item = menu->find_id(static_cast<int>(di.itemID));
    const ImageList* images = menu->images();
    if (item && images)
        if (const Bitmap* b = images->get(item->image_index())) {
            Rect r = from_device(di.rcItem);
            GdiCanvas canvas(di.hDC, r);
            canvas.draw(Point{r.left, r.top + (r.height() - b->height()) / 2}, *b);
        }
    return true;
}

}  // namespace ui::win32
