// Painting through the Canvas: the headless draw log and bitmap canvas, and
// the portable controls that paint themselves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/headless/bitmap_canvas.h"
#include "ui/headless/user.h"
#include "ui/image.h"
#include "ui/paint_box.h"
#include "ui/shape.h"

namespace {

using ui::headless::User;

// Lines follow GDI: the start pixel is drawn, the end pixel is not.
TEST(BitmapCanvas, LinesLeaveOutTheirEndPointAsGdiDoes)
{
    struct Case {
        const char* name;
        std::vector<std::pair<ui::Point, ui::Point>> polyline;
        std::vector<ui::Point> red;
        std::vector<ui::Point> white;
    };
    const Case cases[] = {
        {"horizontal", {{{0, 0}, {3, 0}}}, {{0, 0}, {1, 0}, {2, 0}}, {{3, 0}}},
        {"vertical upwards", {{{1, 3}, {1, 0}}}, {{1, 3}, {1, 1}}, {{1, 0}}},
        {"start corner bracket",
         {{{7, 0}, {0, 0}}, {{0, 0}, {0, 7}}},
         {{7, 0}, {1, 0}, {0, 0}, {0, 6}},
         {{0, 7}, {8, 0}, {1, 1}}},
        {"diagonal", {{{0, 0}, {3, 3}}}, {{0, 0}, {1, 1}, {2, 2}}, {{3, 3}, {1, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui::Bitmap bmp(10, 10, ui::colors::white);
        {
            auto canvas = bmp.canvas();
            canvas->pen.color = ui::colors::red;
            for (auto [a, b] : c.polyline) canvas->line(a, b);
        }
        for (ui::Point p : c.red) EXPECT_EQ(bmp.pixel(p.x, p.y), ui::colors::red) << p.x << "," << p.y;
        for (ui::Point p : c.white) EXPECT_EQ(bmp.pixel(p.x, p.y), ui::colors::white) << p.x << "," << p.y;
    }
}

TEST(BitmapCanvas, RectangleOutlinesWithThePenAndFillsWithTheBrush)
{
    ui::Bitmap bmp(6, 6, ui::colors::white);
    auto canvas = bmp.canvas();
    canvas->pen.color = ui::colors::black;
    canvas->brush.color = ui::colors::blue;
    canvas->rectangle(ui::Rect{1, 1, 5, 5});
    canvas.reset();
    EXPECT_EQ(bmp.pixel(1, 1), ui::colors::black);
    EXPECT_EQ(bmp.pixel(4, 4), ui::colors::black);
    EXPECT_EQ(bmp.pixel(2, 3), ui::colors::blue);
    EXPECT_EQ(bmp.pixel(5, 5), ui::colors::white);
    // System colours are stored resolved, so a bitmap never changes with a theme.
    ui::Bitmap sys(1, 1);
    sys.set_pixel(0, 0, ui::colors::btn_face);
    EXPECT_FALSE(sys.pixel(0, 0).is_system());
}

TEST(RecordingCanvas, PaintBoxHandlersAreLoggedForTests)
{
    User user;
    ui::Form f("TXFForm");
    ui::PaintBox pb(&f, "PBtxpb");
    pb.set_bounds(8, 8, 352, 27);
    int value = 5000;  // ten-thousandths
    pb.on_paint = [&](ui::Canvas& c) {
        ui::Rect r = c.clip_rect().inflate(-1, -1);
        c.brush.color = ui::Color::rgb(179, 208, 244);
        c.fill_rect(ui::Rect{r.left, r.top, r.left + r.width() * value / 10000, r.bottom});
        c.brush.style = ui::BrushStyle::Clear;
        c.text_out({160, 7}, "50%");
    };
    f.show();
    auto canvas = user.paint(pb);
    EXPECT_EQ(canvas.fill_at({100, 10}), ui::Color::rgb(179, 208, 244));
    EXPECT_EQ(canvas.fill_at({300, 10}), std::nullopt);
    EXPECT_EQ(canvas.texts(), std::vector<std::string>{"50%"});
    ASSERT_NE(canvas.text_at({165, 10}), nullptr);
    EXPECT_EQ(canvas.text_at({165, 10})->font.name, "Tahoma");
    EXPECT_EQ(canvas.text_extent("50%"), (ui::Size{21, 11}));  // 8 pt Tahoma: 11 px high
}

TEST(Shapes, BevelsAndShapesPaintWithinTheirBounds)
{
    User user;
    ui::Form f("AForm");
    ui::Bevel line(&f, "Bevel2", ui::BevelShape::LeftLine);
    line.set_bounds(70, 2, 2, 38);
    ui::Shape shape(&f, "Shape1");
    shape.set_bounds(0, 40, 200, 3);
    shape.set_brush(ui::Brush{ui::colors::black, ui::BrushStyle::Solid});
    f.show();
    auto bevel = user.paint(line);
    ASSERT_EQ(bevel.ops().size(), 2u);
    EXPECT_EQ(bevel.ops()[0].pen.color, ui::colors::btn_shadow);
    EXPECT_EQ(bevel.ops()[0].a, (ui::Point{0, 0}));
    EXPECT_EQ(bevel.ops()[1].pen.color, ui::colors::btn_highlight);
    EXPECT_EQ(bevel.ops()[1].a, (ui::Point{1, 0}));
    auto s = user.paint(shape);
    EXPECT_EQ(s.fill_at({199, 2}), ui::colors::black);
}

}  // namespace
