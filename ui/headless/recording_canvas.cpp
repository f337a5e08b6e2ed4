// Recording canvas: the draw log of the headless backend.
#include "ui/headless/recording_canvas.h"

#include <optional>

namespace ui::headless {

DrawOp& RecordingCanvas::add(OpKind k)
{
    ops_.push_back(DrawOp{k, {}, {}, {}, {}, {}, pen, brush, font});
    return ops_.back();
}

void RecordingCanvas::fill_rect(const Rect& r)
{
    add(OpKind::FillRect).rect = r;
}

void RecordingCanvas::rectangle(const Rect& r)
{
    add(OpKind::Rectangle).rect = r;
}

void RecordingCanvas::line(Point a, Point b)
{
    DrawOp& op = add(OpKind::Line);
    op.a = a;
    op.b = b;
}

void RecordingCanvas::text_out(Point p, std::string_view text)
{
    Size e = text_extent(text);
    DrawOp& op = add(OpKind::Text);
    op.a = p;
    op.text = text;
    op.rect = Rect::from_size(p.x, p.y, e.width, e.height);
}

void RecordingCanvas::text_out_cells(Point p, std::u32string_view text, int cell)
{
    DrawOp& op = add(OpKind::Text);
    op.a = p;
    op.wide = text;
    for (char32_t c : text) op.text.push_back(c < 0x100 ? char(c) : '?');
    op.rect = Rect::from_size(p.x, p.y, static_cast<int>(text.size()) * cell, font.height_px());
}

void RecordingCanvas::text_rect(const Rect& clip, Point p, std::string_view text)
{
    Size e = text_extent(text);
    DrawOp& op = add(OpKind::Text);
    op.a = p;
    op.text = text;
    op.rect = Rect::from_size(p.x, p.y, e.width, e.height).intersect(clip);
}

Size RecordingCanvas::text_extent(std::string_view text)
{
    return Size{static_cast<int>(text.size()) * char_width(font), font.height_px()};
}

void RecordingCanvas::draw(Point p, const Bitmap&)
{
    add(OpKind::Draw).a = p;
}

void RecordingCanvas::stretch_draw(const Rect& r, const Bitmap&)
{
    add(OpKind::StretchDraw).rect = r;
}

void RecordingCanvas::focus_rect(const Rect& r)
{
    add(OpKind::FocusRect).rect = r;
}

std::vector<std::string> RecordingCanvas::texts() const
{
    std::vector<std::string> out;
    for (const DrawOp& op : ops_)
        if (op.kind == OpKind::Text) out.push_back(op.text);
    return out;
}

std::vector<std::u32string> RecordingCanvas::wide_texts() const
{
    std::vector<std::u32string> out;
    for (const DrawOp& op : ops_)
        if (op.kind == OpKind::Text && !op.wide.empty()) out.push_back(op.wide);
    return out;
}

std::optional<Color> RecordingCanvas::fill_at(Point p) const
{
    for (auto it = ops_.rbegin(); it != ops_.rend(); ++it) {
        bool fills =
            it->kind == OpKind::FillRect || (it->kind == OpKind::Rectangle && it->brush.style == BrushStyle::Solid);
        if (fills && it->rect.contains(p)) return it->brush.color;
    }
    return std::nullopt;
}

const DrawOp* RecordingCanvas::text_at(Point p) const
{
    for (auto it = ops_.rbegin(); it != ops_.rend(); ++it)
        if (it->kind == OpKind::Text && it->rect.contains(p)) return &*it;
    return nullptr;
}

}  // namespace ui::headless
