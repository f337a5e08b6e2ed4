// Paint bars, the byte-count texts and the look of the progress windows.
#include "tx/paint_bar.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

void repaint(PaintBar& bar)
{
    bar.last_drawn = bar.value;
    if (!bar.box) return;
    bar.box->invalidate();
    bar.box->update();
}

}  // namespace

void bar_init(PaintBar& bar, ui::PaintBox& box, ui::Color color, int inset)
{
    bar.box = &box;
    bar.color = color;
    bar.inset = inset;
    bar.value = 0;
    bar.last_drawn = -1;
    repaint(bar);
}

bool bar_refresh(PaintBar& bar)
{
    if (bar.value == bar.last_drawn) return false;
    repaint(bar);
    return true;
}

void bar_paint(const PaintBar& bar, ui::Canvas& canvas)
{
    if (!bar.box) return;
    const int l = 0, t = 0, r = bar.box->width(), b = bar.box->height();
    const std::string text = std::to_string(std::clamp(bar.value / 100, 0, 100)) + "%";
    const int v = std::clamp(bar.value, 0, 10000);

    canvas.pen = ui::Pen{ui::colors::black};
    canvas.brush = ui::Brush{ui::colors::white};
    canvas.rectangle(ui::Rect{l, t, r, b});
    canvas.pen = ui::Pen{bar.color};
    canvas.brush = ui::Brush{bar.color};
    // 64-bit product: a bar wider than 214 748 pixels would overflow 32 bits.
    const int width = static_cast<int>(static_cast<long long>(v) * (r - l - 2 * bar.inset) / 10000);
    if (width > 0) canvas.rectangle(ui::Rect{l + bar.inset, t + bar.inset, l + bar.inset + width, b - bar.inset});
    canvas.brush.style = ui::BrushStyle::Clear;
    const ui::Size ext = canvas.text_extent(text);
    canvas.text_out(ui::Point{(r - ext.width) / 2, (b - ext.height) / 2}, text);
}

std::string size_text(double bytes)
{
    char buf[64];
    if (bytes < 10240.0) {
        std::snprintf(buf, sizeof buf, "%.0f B", bytes);
    } else if (bytes < 10485760.0) {
        std::snprintf(buf, sizeof buf, "%.2f kB", bytes / 1024.0);
    } else {
        std::snprintf(buf, sizeof buf, "%.2f MB", bytes / 1048576.0);
    }
    return buf;
}

void progress_window_look(ui::Form& form, const std::string& caption, int client_width, int client_height)
{
    form.set_caption(caption);
    form.set_border_style(ui::BorderStyle::Single);
    form.set_border_icons({.system_menu = true, .minimize = true, .maximize = false});
    form.set_form_style(ui::FormStyle::StayOnTop);
    form.set_position(ui::Position::MainFormCenter);
    form.set_client_size(client_width, client_height);
    form.set_double_buffered(true);
    ui::Font tahoma;
    tahoma.name = "Tahoma";
    form.set_font(tahoma);
}
