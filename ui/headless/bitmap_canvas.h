// Headless canvas on a Bitmap: records like RecordingCanvas and also sets the
// pixels of fills, rectangles and lines (text and images are only recorded).
#pragma once

#include "ui/headless/recording_canvas.h"
#include "ui/image.h"

namespace ui::headless {

class BitmapCanvas : public RecordingCanvas {
 public:
    explicit BitmapCanvas(Bitmap& bmp);
    void fill_rect(const Rect& r) override;
    void rectangle(const Rect& r) override;
    void line(Point a, Point b) override;

 private:
    void fill(const Rect& r, Color c);
    void plot_line(Point a, Point b, Color c);
    Bitmap& bmp_;
};

}  // namespace ui::headless
