// Painting of the HEX page's grid: cached header images, row offsets, both
// halves of every visible byte with the block's colours and corner marks.
#include <cstdio>
#include <string>

#include "views/hex/hex_page.h"

namespace {

const ui::Color header_fill = ui::Color::rgb(196, 206, 247);
const ui::Color block_hex_fill = ui::Color::rgb(254, 245, 197);
const ui::Color hex_fill = ui::Color::rgb(254, 255, 242);
const ui::Color block_char_fill = ui::Color::rgb(255, 242, 230);
const ui::Color char_fill = ui::colors::white;

// A 10 x 10 red corner bracket on white, white being transparent.
ui::Bitmap corner_mark(ui::Point a, ui::Point corner, ui::Point b)
{
    ui::Bitmap bmp(10, 10, ui::colors::white);
    bmp.set_transparent(ui::colors::white);
    {
        std::unique_ptr<ui::Canvas> c = bmp.canvas();
        c->pen = ui::Pen{ui::colors::red};
        c->move_to(a);
        c->line_to(corner);
        c->line_to(b);
        // LineTo leaves its end point out; the bracket's far end belongs to it.
        c->line_to(ui::Point{b.x + (b.x > corner.x   ? 1
                                    : b.x < corner.x ? -1
                                                     : 0),
                             b.y + (b.y > corner.y   ? 1
                                    : b.y < corner.y ? -1
                                                     : 0)});
    }
    return bmp;
}

// Text centred in the cell, over the rectangle filled in the brush colour.
void centred_text(ui::Canvas& c, const ui::Rect& r, int col_width, int row_height, std::string_view text)
{
    const ui::Size ext = c.text_extent(text);
    const ui::Point p{r.left + (col_width - ext.width) / 2, r.top + (row_height - ext.height) / 2};
    c.fill_rect(r);
    c.text_rect(r, p, text);
}

}  // namespace

const ui::Bitmap& HexPage::header_image(std::int32_t col, const ui::Rect& rect, const ui::Font& font)
{
    ui::Bitmap& img = headers_[col];
    if (!img.empty()) return img;
    const ui::Rect wide = rect.inflate(1, 1);
    img = ui::Bitmap(wide.width(), wide.height());
    std::unique_ptr<ui::Canvas> c = img.canvas();
    c->font = font;
    c->pen = ui::Pen{ui::colors::black};
    c->brush = ui::Brush{header_fill};
    c->rectangle(ui::Rect{0, 0, wide.width(), wide.height()});
    if (col >= 1) {
        static const char digits[] = "0123456789ABCDEF";
        const char digit[2] = {digits[(col <= 16 ? col - 1 : col - 17) & 15], 0};
        const ui::Size ext = c->text_extent(digit);
        c->text_out(
            ui::Point{(DGhex.col_width(col) - ext.width) / 2 + 1, (DGhex.default_row_height() - ext.height) / 2 + 1},
            digit);
    }
    c->brush = ui::Brush{header_fill, ui::BrushStyle::Clear};
    c->rectangle(ui::Rect{0, 0, wide.width(), wide.height()});
    return img;
}

void HexPage::DGhexDrawCell(ui::Canvas& c, std::int32_t col, std::int32_t row, const ui::Rect& rect)
{
    DGhex.set_default_drawing(true);
    if (row == 0) {
        const ui::Font font = c.font;
        c.draw(ui::Point{rect.left - 1, rect.top - 1}, header_image(col, rect, font));
        return;
    }
    if (col == 0) {
        c.brush = ui::Brush{header_fill};
        c.pen = ui::Pen{ui::colors::black};
        centred_text(c, rect, DGhex.col_width(0), DGhex.default_row_height(), hex_row_offset_text(row));
        c.brush = ui::Brush{header_fill, ui::BrushStyle::Clear};
        c.rectangle(rect.inflate(1, 1));
        return;
    }
    draw_data_cell(c, col, row, rect);
    if (col == 16 || col == hex_last_col) {
        c.pen = ui::Pen{ui::colors::black};
        c.line(ui::Point{rect.right, rect.top - 1}, ui::Point{rect.right, rect.bottom + 1});
    }
    if (row == DGhex.row() && hex_mirror_col(col) == DGhex.col()) c.focus_rect(rect);
}

void HexPage::draw_data_cell(ui::Canvas& c, std::int32_t col, std::int32_t row, const ui::Rect& rect)
{
    c.pen = ui::Pen{ui::colors::black};
    const std::optional<std::int32_t> pos = hex_cell_position(col, row);
    std::uint8_t b = 0;
    if (!pos || link_.rx_store_byte(*pos, &b) != 0) return;  // beyond the data: left as the grid painted it
    const bool in_block = block_start <= *pos && *pos <= block_end;
    std::string text;
    if (col <= 16) {
        c.brush = ui::Brush{in_block ? block_hex_fill : hex_fill};
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(b));
        text = digits;
    } else {
        c.brush = ui::Brush{in_block ? block_char_fill : char_fill};
        text.assign(1, static_cast<char>(b));  // control bytes too, as they are
    }
    centred_text(c, rect, DGhex.col_width(col), DGhex.default_row_height(), text);
    if (start_mark_.empty()) {
        start_mark_ = corner_mark(ui::Point{7, 0}, ui::Point{0, 0}, ui::Point{0, 7});
        end_mark_ = corner_mark(ui::Point{2, 9}, ui::Point{9, 9}, ui::Point{9, 2});
    }
    if (*pos == block_start) c.draw(ui::Point{rect.left, rect.top}, start_mark_);
    if (*pos == block_end) c.draw(ui::Point{rect.right - 10, rect.bottom - 10}, end_mark_);
}
