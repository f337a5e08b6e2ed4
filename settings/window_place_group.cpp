// The main window's place in the settings file, and its fit to the screen.
#include "settings/window_place_group.h"

#include <algorithm>

#include "settings/setting_values.h"

namespace {

constexpr const char* section = "WINDOW";

// Windows keeps window coordinates within 16 bits; the clamp also keeps
// left + width from overflowing.
std::int32_t coordinate(const ProfileFile& f, const char* key)
{
    return std::clamp(read_setting_integer(f, section, key, 0), -32768, 32767);
}

std::int32_t extent(const ProfileFile& f, const char* key)
{
    return std::clamp(read_setting_integer(f, section, key, 0), 0, 32767);
}

// Where a span of `size` starts inside [lo, hi) when it started at `at`.
int inside(int at, int size, int lo, int hi)
{
    return std::max(lo, std::min(at, hi - size));
}

}  // namespace

int LoadWindowPlace(const ProfileFile* file, WindowPlace& out)
{
    if (!file) return 1;
    const std::int32_t width = extent(*file, "width"), height = extent(*file, "height");
    if (width <= 0 || height <= 0) return 2;
    out.bounds = ui::Rect::from_size(coordinate(*file, "left"), coordinate(*file, "top"), width, height);
    out.maximized = read_setting_boolean(*file, section, "maximized", false);
    return 0;
}

int SaveWindowPlace(ProfileFile* file, const WindowPlace& in)
{
    if (!file) return 1;
    write_setting_integer(*file, section, "left", in.bounds.left);
    write_setting_integer(*file, section, "top", in.bounds.top);
    write_setting_integer(*file, section, "width", in.bounds.width());
    write_setting_integer(*file, section, "height", in.bounds.height());
    write_setting_boolean(*file, section, "maximized", in.maximized);
    return 0;
}

ui::Rect fit_window_place(const ui::Rect& saved, const ui::Rect& work_area, ui::Size min_size)
{
    const ui::Rect& a = work_area;
    const int w = std::max(std::min(saved.width(), a.width()), min_size.width);
    const int h = std::max(std::min(saved.height(), a.height()), min_size.height);
    if (saved.intersect(a).empty())
        return ui::Rect::from_size(a.left + std::max(0, a.width() - w) / 2, a.top + std::max(0, a.height() - h) / 2, w,
                                   h);
    return ui::Rect::from_size(inside(saved.left, w, a.left, a.right), inside(saved.top, h, a.top, a.bottom), w, h);
}
