// Bitmaps in memory and the Image control.
#include "ui/image.h"

namespace ui {

Bitmap::Bitmap(int width, int height, Color fill)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill.value())
{
}

Color Bitmap::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return Color{};
    return Color::from_value(pixels_[static_cast<size_t>(y) * width_ + x]);
}

void Bitmap::set_pixel(int x, int y, Color c)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y) * width_ + x] = c.resolve().value();
    ++version_;
}

std::unique_ptr<Canvas> Bitmap::canvas()
{
    return backend::bitmap_canvas(*this);
}

Image::Image(Control* parent, std::string name) : Control(parent, std::move(name), ControlKind::Image)
{
    set_tab_stop(false);
}

void Image::set_picture(Bitmap b)
{
    picture_ = std::move(b);
    sync(Prop::Picture);
    invalidate();
}

void Image::set_stretch(bool s)
{
    stretch_ = s;
    invalidate();
}

void Image::set_center(bool c)
{
    center_ = c;
    invalidate();
}

void Image::paint(Canvas& c)
{
    if (picture_.empty()) return;
    if (stretch_) {
        c.stretch_draw(Rect{0, 0, width(), height()}, picture_);
    } else if (center_) {
        c.draw(Point{(width() - picture_.width()) / 2, (height() - picture_.height()) / 2}, picture_);
    } else {
        c.draw(Point{0, 0}, picture_);
    }
}

}  // namespace ui
