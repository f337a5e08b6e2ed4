// Pictures: a portable bitmap (pixels in memory, optional transparent colour),
// image lists for menus and tool buttons, and the Image control.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/control.h"

namespace ui {

// 32-bit pixels, 0x00BBGGRR (Color's RGB layout), rows top to bottom.
class Bitmap {
 public:
    Bitmap() = default;
    Bitmap(int width, int height, Color fill = colors::white);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    Color pixel(int x, int y) const;
    void set_pixel(int x, int y, Color c);  // outside the bitmap: ignored
    const std::vector<std::uint32_t>& pixels() const { return pixels_; }
    std::vector<std::uint32_t>& pixels() { return pixels_; }

    // When set, pixels of this colour are not drawn by Canvas::draw.
    bool transparent() const { return transparent_; }
    Color transparent_color() const { return transparent_color_; }
    void set_transparent(Color c)
    {
        transparent_ = true;
        transparent_color_ = c;
    }
    // Bumped on every change through this interface or a canvas, so backends can
    // cache a converted copy.
    std::uint32_t version() const { return version_; }
    void touch() { ++version_; }

    // A canvas that draws into this bitmap (backend; pixels updated when the
    // returned canvas is destroyed).
    std::unique_ptr<Canvas> canvas();

 private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    bool transparent_ = false;
    Color transparent_color_;
    std::uint32_t version_ = 0;
};

// Same-size images addressed by index (menu icons, tool-button glyphs).
class ImageList {
 public:
    ImageList(int width, int height) : width_(width), height_(height) {}
    int width() const { return width_; }
    int height() const { return height_; }
    int count() const { return static_cast<int>(images_.size()); }
    int add(Bitmap b)
    {
        images_.push_back(std::move(b));
        return count() - 1;
    }
    const Bitmap* get(int index) const { return index >= 0 && index < count() ? &images_[index] : nullptr; }

 private:
    int width_, height_;
    std::vector<Bitmap> images_;
};

// Shows a bitmap. Events: on_click (Control).
class Image : public Control {
 public:
    Image(Control* parent, std::string name);
    const Bitmap& picture() const { return picture_; }
    void set_picture(Bitmap b);
    bool stretch() const { return stretch_; }
    void set_stretch(bool s);
    bool center() const { return center_; }
    void set_center(bool c);
    void paint(Canvas& c) override;

 private:
    Bitmap picture_;
    bool stretch_ = false;
    bool center_ = false;
};

}  // namespace ui
