// The HEX page: building and wiring its controls, the inspector refresh, the
// block commands and the double-click copies. Painting is in hex_page_draw.cpp.
#include "views/hex/hex_page.h"

#include "numtext/number_text.h"

namespace {

// Where the inspector sits: this much of the page below the grid.
constexpr int inspector_height = 150;

void field(ui::StaticText& st, int left, int top, int width)
{
    st.set_bounds(left, top, width, 17);
    st.set_border(ui::StaticBorder::Single);
    st.set_color(ui::colors::info_bk);
}

void label(ui::Label& l, int left, int top, int width = 40)
{
    l.set_bounds(left, top + 2, width, 14);
}

}  // namespace

HexPage::HexPage(ui::Control* sheet, const SerialLink& link)
    : DGhex(sheet, "DGhex"),
      GBiv(sheet, "GBiv", " Integer value (hexa      , big-endian       ): "),
      GBivl(sheet, "GBivl",
            " Variable length integer (hex     , dec      , bin      , big-endian      , signed      ): "),
      GroupBox2(sheet, "GroupBox2", " Selection: "),
      sheet_(sheet),
      link_(link)
{
    DGhex.set_col_count(hex_cols);
    DGhex.set_fixed_cols(1);
    DGhex.set_fixed_rows(1);
    DGhex.set_row_count(2);
    DGhex.set_default_row_height(22);
    DGhex.set_grid_lines(true);
    DGhex.set_double_buffered(true);
    wire();
}

void HexPage::lay_out()
{
    const ui::Rect page = sheet_->client_rect();
    const int w = page.width(), h = page.height();
    const int grid_h = h > inspector_height + 40 ? h - inspector_height : h;
    DGhex.set_bounds(0, 0, w, grid_h);
    DGhex.set_anchors(ui::Anchors{true, true, true, true});

    const int box_w = w - 148;
    const ui::Anchors bottom_left{true, false, false, true};
    GBiv.set_bounds(2, grid_h + 2, box_w, 66);
    GBiv.set_anchors(bottom_left);
    // The check boxes sit in the caption's gaps, after "hexa" and "big-endian".
    CBivHex.set_bounds(105, 0, 14, 14);
    CBivBe.set_bounds(182, 0, 14, 14);
    struct Col {
        ui::Label *ls, *lu;
        ui::StaticText *s, *u;
        int label_w, field_w;
    };
    const Col cols[] = {{&Li8, &Lu8, &STi8, &STu8, 34, 43},
                        {&Li16, &Lu16, &STi16, &STu16, 40, 55},
                        {&Li24, &Lu24, &STi24, &STu24, 40, 66},
                        {&Li32, &Lu32, &STi32, &STu32, 40, 84}};
    int x = 6;
    for (const Col& c : cols) {
        label(*c.ls, x, 20, c.label_w);
        field(*c.s, x + c.label_w, 20, c.field_w);
        label(*c.lu, x, 42, c.label_w);
        field(*c.u, x + c.label_w, 42, c.field_w);
        x += c.label_w + c.field_w + 6;
    }
    Bevel5.set_bounds(x, 16, 2, 44);
    x += 6;
    label(Llo, x + 30, 4, 24);
    label(Lhi, x + 30 + 37 + 10, 4, 24);
    label(Li4, x, 20, 30);
    field(STi4lo, x + 30, 20, 37);
    label(Lbar1, x + 30 + 37 + 2, 20, 6);
    field(STi4hi, x + 30 + 37 + 10, 20, 37);
    label(Lu4, x, 42, 30);
    field(STu4lo, x + 30, 42, 37);
    label(Lbar2, x + 30 + 37 + 2, 42, 6);
    field(STu4hi, x + 30 + 37 + 10, 42, 37);

    GBivl.set_bounds(2, grid_h + 70, box_w, 78);
    GBivl.set_anchors(ui::Anchors{true, false, true, true});
    RBivlHex.set_bounds(144, 0, 13, 14);
    RBivlDec.set_bounds(185, 0, 13, 14);
    RBivlBin.set_bounds(223, 0, 13, 14);
    CBivlBe.set_bounds(297, 0, 14, 14);
    CBivlSgn.set_bounds(352, 0, 14, 14);
    RBivlHex.set_checked(true);
    label(Llen, 6, 20, 38);
    Eivarlen.set_bounds(46, 20, 24, 19);
    Eivarlen.set_read_only(true);
    UDivarlen.set_bounds(70, 20, 15, 19);
    UDivarlen.set_associate(&Eivarlen);
    UDivarlen.set_range(1, 8);
    UDivarlen.set_position(1);
    label(Lbytes, 90, 20, 60);
    label(Lval, 6, 48, 38);
    field(STival, 46, 48, 484);
    STival.set_anchors(ui::Anchors{true, true, true, false});

    GroupBox2.set_bounds(w - 144, grid_h + 2, 142, 146);
    GroupBox2.set_anchors(ui::Anchors{false, false, true, true});
    label(Lposd, 6, 18, 44);
    field(STrxposd, 52, 18, 82);
    label(Lposh, 6, 40, 44);
    field(STrxposh, 52, 40, 82);
    Bevel6.set_bounds(6, 63, 128, 2);
    label(Lss, 6, 70, 44);
    field(STss, 52, 70, 82);
    label(Lsp, 6, 92, 44);
    field(STsp, 52, 92, 82);
    label(Lsl, 6, 114, 44);
    field(STsl, 52, 114, 82);
}

void HexPage::wire()
{
    DGhex.on_click = [this] { DGhexClick(); };
    DGhex.on_draw_cell = [this](ui::Canvas& c, std::int32_t col, std::int32_t row, const ui::Rect& r,
                                ui::GridDrawState) { DGhexDrawCell(c, col, row, r); };
    for (ui::Control* option :
         {static_cast<ui::Control*>(&CBivHex), static_cast<ui::Control*>(&CBivBe), static_cast<ui::Control*>(&CBivlBe),
          static_cast<ui::Control*>(&CBivlSgn), static_cast<ui::Control*>(&RBivlHex),
          static_cast<ui::Control*>(&RBivlDec), static_cast<ui::Control*>(&RBivlBin)})
        option->on_click = [this] { option_changed(); };
    UDivarlen.on_click_button = [this](ui::UpDownButton) { RefreshInspector(-1); };
    Eivarlen.on_click = [this] { DGhex.set_focus(); };
    for (ui::StaticText* st : {&STival, &STi8, &STu8, &STi16, &STu16, &STi24, &STu24, &STi32, &STu32, &STi4lo, &STu4lo,
                               &STi4hi, &STu4hi, &STrxposd, &STrxposh, &STss, &STsp, &STsl})
        st->on_dbl_click = [this, st] { CopyFieldValue(*st); };
}

void HexPage::set_col_widths()
{
    DGhex.set_col_width(0, 90);
    for (int c = 1; c <= 16; ++c) DGhex.set_col_width(c, 20);
    for (int c = 17; c <= hex_last_col; ++c) DGhex.set_col_width(c, 14);
}

InspectorOptions HexPage::options() const
{
    InspectorOptions o;
    o.hex = CBivHex.checked();
    o.fixed_be = CBivBe.checked();
    o.var_length = UDivarlen.position();
    o.var_radix = RBivlDec.checked() ? VarRadix::Dec : RBivlHex.checked() ? VarRadix::Hex : VarRadix::Bin;
    o.var_be = CBivlBe.checked();
    o.var_signed = CBivlSgn.checked();
    return o;
}

void HexPage::option_changed()
{
    DGhex.set_focus();
    RefreshInspector(-1);
}

void HexPage::RefreshInspector(std::int32_t position)
{
    const InspectorOptions o = options();
    if (position >= 0) inspector_position = position;
    unsigned char bytes[8] = {};
    std::int32_t n = 0;
    if (link_.rx_store_read(inspector_position, bytes, inspector_read_count(o), &n) != 0) n = 0;
    const InspectorTexts t = inspector_texts(bytes, n, inspector_position, block_start, block_end, o);
    STrxposd.set_caption(t.rxposd);
    STrxposh.set_caption(t.rxposh);
    STss.set_caption(t.ss);
    STsp.set_caption(t.sp);
    STsl.set_caption(t.sl);
    STu8.set_caption(t.u8);
    STi8.set_caption(t.i8);
    STu4lo.set_caption(t.u4lo);
    STu4hi.set_caption(t.u4hi);
    STi4lo.set_caption(t.i4lo);
    STi4hi.set_caption(t.i4hi);
    STu16.set_caption(t.u16);
    STi16.set_caption(t.i16);
    STu24.set_caption(t.u24);
    STi24.set_caption(t.i24);
    STu32.set_caption(t.u32);
    STi32.set_caption(t.i32);
    STival.set_caption(t.ival);
}

void HexPage::DGhexClick()
{
    const std::optional<std::int32_t> pos = hex_cell_position(DGhex.col(), DGhex.row());
    if (!pos) return;
    RefreshInspector(*pos);
    DGhex.invalidate();
}

void HexPage::set_block_end_or_start(bool start)
{
    const RxStore* store = nullptr;
    if (link_.rx_store_info(&store) != 0) return;
    if (DGhex.row() > 0 && DGhex.col() == 0) return;
    const std::optional<std::int32_t> pos = hex_cell_position(DGhex.col(), DGhex.row());
    if (pos && *pos < store->length) {
        if (start) {
            block_start = *pos;
            if (block_end < *pos) block_end = *pos;
        } else {
            block_end = *pos;
            if (block_start > *pos) block_start = *pos;
        }
    }
    DGhex.invalidate();
    RefreshInspector(-1);
}

void HexPage::MMrxBBClick()
{
    set_block_end_or_start(true);
}

void HexPage::MMrxBEClick()
{
    set_block_end_or_start(false);
}

void HexPage::CopyFieldValue(const ui::StaticText& field)
{
    if (std::optional<std::string> value = field_copy_text(field.caption()))
        CopyTextToClipboard(value->c_str());  // a busy clipboard is not worth a message
}

void HexPage::follow_store(std::int32_t length)
{
    const std::int32_t rows = hex_row_count(length);
    DGhex.set_row_count(rows);
    // Each move acts as a click on the grid, so the inspector follows the end.
    DGhex.set_row(rows - 1);
    DGhex.set_col(hex_last_col);
    DGhex.invalidate();
}

void HexPage::add_rows(std::int32_t length)
{
    DGhex.set_row_count(hex_row_count(length));
    // Values that ran past the old end may be whole now.
    RefreshInspector(-1);
    DGhex.invalidate();
}

void HexPage::show_block(std::int32_t start, std::int32_t end)
{
    block_start = start;
    block_end = end;
    DGhex.set_current(start % hex_bytes_per_row + 1, start / hex_bytes_per_row + 1);
    RefreshInspector(start);  // also when the cell was current already
    DGhex.invalidate();
}

void HexPage::clear()
{
    DGhex.set_row_count(2);
    DGhex.invalidate();
    block_start = 0;
    block_end = 0;
}

void HexPage::select_saved(std::int32_t start, std::int32_t end)
{
    block_start = start;
    block_end = end;
    DGhex.invalidate();
    RefreshInspector(-1);
}
