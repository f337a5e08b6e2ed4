// The Win32 backend's scoped handles (under Wine): each GDI object, device
// context and menu is given back exactly once, after what uses it.
#include <gtest/gtest.h>

#include <windows.h>

#include "ui/image.h"
#include "ui/win32/gdi_handle.h"
#include "ui/win32/menu_win32.h"

namespace {

using ui::win32::GdiObject;

bool gdi_alive(HGDIOBJ h)
{
    return GetObjectType(h) != 0;
}

TEST(GdiHandles, AnObjectIsDeletedOnceByItsLastOwner)
{
    HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
    {
        GdiObject<HBRUSH> outer;
        {
            GdiObject<HBRUSH> first(raw);
            outer = std::move(first);  // first goes without deleting it
        }
        EXPECT_TRUE(gdi_alive(raw));
        EXPECT_EQ(outer.get(), raw);
    }
    EXPECT_FALSE(gdi_alive(raw));

    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    HPEN old = pen.get();
    pen.reset(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    EXPECT_FALSE(gdi_alive(old));
    EXPECT_TRUE(gdi_alive(pen.get()));
    HPEN kept = pen.release();
    EXPECT_FALSE(pen);
    EXPECT_TRUE(gdi_alive(kept));
    DeleteObject(kept);
}

// A bitmap selected into a DC cannot be deleted: the selection must be undone
// first, and the memory DC goes after both.
TEST(GdiHandles, SelectionPutsBackWhatItReplacedBeforeTheObjectGoes)
{
    HBITMAP raw_bitmap = nullptr;
    HDC raw_dc = nullptr;
    {
        ui::win32::MemoryDc dc(nullptr);
        raw_dc = dc.get();
        ASSERT_NE(raw_dc, nullptr);
        HGDIOBJ original = GetCurrentObject(raw_dc, OBJ_BITMAP);
        GdiObject<HBITMAP> bmp(CreateBitmap(4, 4, 1, 32, nullptr));
        raw_bitmap = bmp.get();
        {
            ui::win32::Selection selected(raw_dc, raw_bitmap);
            EXPECT_EQ(GetCurrentObject(raw_dc, OBJ_BITMAP), raw_bitmap);
        }
        EXPECT_EQ(GetCurrentObject(raw_dc, OBJ_BITMAP), original);
        ui::win32::Selection again(raw_dc, raw_bitmap);  // undone before bmp is deleted
    }
    EXPECT_FALSE(gdi_alive(raw_bitmap));
    EXPECT_FALSE(gdi_alive(raw_dc));
}

// The canvas on a bitmap: every pen it made, its DC and its DIB are gone
// after the pixels were copied back.
TEST(GdiHandles, BitmapCanvasDrawsWithEachPenAndCopiesThePixelsBack)
{
    ui::Bitmap bmp(6, 6, ui::colors::white);
    {
        auto canvas = bmp.canvas();
        ASSERT_NE(canvas, nullptr);
        canvas->pen.color = ui::colors::black;
        canvas->brush.color = ui::colors::blue;
        canvas->rectangle(ui::Rect{1, 1, 5, 5});
        canvas->pen.color = ui::colors::red;  // a second pen replaces the first
        canvas->line(ui::Point{0, 0}, ui::Point{0, 6});
        EXPECT_EQ(bmp.pixel(0, 3), ui::colors::white);  // not before the canvas goes
    }
    EXPECT_EQ(bmp.pixel(1, 1), ui::colors::black);
    EXPECT_EQ(bmp.pixel(4, 4), ui::colors::black);
    EXPECT_EQ(bmp.pixel(2, 3), ui::colors::blue);
    EXPECT_EQ(bmp.pixel(0, 3), ui::colors::red);
    EXPECT_EQ(bmp.pixel(5, 5), ui::colors::white);
}

TEST(GdiHandles, AMenuIsDestroyedUnlessHandedOver)
{
    HMENU raw = CreatePopupMenu();
    {
        ui::win32::OwnedMenu owned(raw);
    }
    EXPECT_FALSE(IsMenu(raw));

    ui::win32::OwnedMenu kept(CreatePopupMenu());
    HMENU given = kept.release();
    EXPECT_FALSE(kept);
    EXPECT_TRUE(IsMenu(given));
    DestroyMenu(given);

    EXPECT_FALSE(ui::win32::build_menu_bar(nullptr));  // no main menu, no bar
}

}  // namespace
