// The HEX page: the grid of received bytes, the value inspector below it and
// the selection box, with the inspector position and the selected block.
#pragma once

#include <array>
#include <cstdint>

#include "link/serial_link.h"
#include "ui/check_box.h"
#include "ui/draw_grid.h"
#include "ui/edit.h"
#include "ui/group_box.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/radio_button.h"
#include "ui/shape.h"
#include "ui/up_down.h"
#include "views/hex/hex_fields.h"

class HexPage {
 public:
    // Makes the page's controls on its tab sheet; lay_out() places them once
    // the sheet has its size. The page shows the link's store.
    HexPage(ui::Control* sheet, const SerialLink& link);
    HexPage(const HexPage&) = delete;
    HexPage& operator=(const HexPage&) = delete;

    ui::DrawGrid DGhex;

    ui::GroupBox GBiv;
    ui::CheckBox CBivHex{&GBiv, "CBivHex"};
    ui::CheckBox CBivBe{&GBiv, "CBivBe"};
    // Each label comes right before its field, so "the control after the
    // label" names the field.
    ui::Label Li8{&GBiv, "Li8", "int8:"};
    ui::StaticText STi8{&GBiv, "STi8"};
    ui::Label Lu8{&GBiv, "Lu8", "uint8:"};
    ui::StaticText STu8{&GBiv, "STu8"};
    ui::Label Li16{&GBiv, "Li16", "int16:"};
    ui::StaticText STi16{&GBiv, "STi16"};
    ui::Label Lu16{&GBiv, "Lu16", "uint16:"};
    ui::StaticText STu16{&GBiv, "STu16"};
    ui::Label Li24{&GBiv, "Li24", "int24:"};
    ui::StaticText STi24{&GBiv, "STi24"};
    ui::Label Lu24{&GBiv, "Lu24", "uint24:"};
    ui::StaticText STu24{&GBiv, "STu24"};
    ui::Label Li32{&GBiv, "Li32", "int32:"};
    ui::StaticText STi32{&GBiv, "STi32"};
    ui::Label Lu32{&GBiv, "Lu32", "uint32:"};
    ui::StaticText STu32{&GBiv, "STu32"};
    ui::Bevel Bevel5{&GBiv, "Bevel5", ui::BevelShape::LeftLine};
    ui::Label Llo{&GBiv, "Llo", " LO: "};
    ui::Label Lhi{&GBiv, "Lhi", " HI: "};
    ui::Label Li4{&GBiv, "Li4", "int4:"};
    ui::StaticText STi4lo{&GBiv, "STi4lo"};
    ui::Label Lbar1{&GBiv, "Lbar1", "|"};
    ui::StaticText STi4hi{&GBiv, "STi4hi"};
    ui::Label Lu4{&GBiv, "Lu4", "uint4:"};
    ui::StaticText STu4lo{&GBiv, "STu4lo"};
    ui::Label Lbar2{&GBiv, "Lbar2", "|"};
    ui::StaticText STu4hi{&GBiv, "STu4hi"};

    ui::GroupBox GBivl;
    ui::RadioButton RBivlHex{&GBivl, "RBivlHex"};
    ui::RadioButton RBivlDec{&GBivl, "RBivlDec"};
    ui::RadioButton RBivlBin{&GBivl, "RBivlBin"};
    ui::CheckBox CBivlBe{&GBivl, "CBivlBe"};
    ui::CheckBox CBivlSgn{&GBivl, "CBivlSgn"};
    ui::Label Llen{&GBivl, "Llen", "Length:"};
    ui::Edit Eivarlen{&GBivl, "Eivarlen", "1"};
    ui::UpDown UDivarlen{&GBivl, "UDivarlen"};
    ui::Label Lbytes{&GBivl, "Lbytes", "bytes (1-8)"};
    ui::Label Lval{&GBivl, "Lval", "Value:"};
    ui::StaticText STival{&GBivl, "STival"};

    ui::GroupBox GroupBox2;
    ui::Label Lposd{&GroupBox2, "Lposd", "pos dec:"};
    ui::StaticText STrxposd{&GroupBox2, "STrxposd"};
    ui::Label Lposh{&GroupBox2, "Lposh", "pos hex:"};
    ui::StaticText STrxposh{&GroupBox2, "STrxposh"};
    ui::Bevel Bevel6{&GroupBox2, "Bevel6", ui::BevelShape::TopLine};
    ui::Label Lss{&GroupBox2, "Lss", "start:"};
    ui::StaticText STss{&GroupBox2, "STss"};
    ui::Label Lsp{&GroupBox2, "Lsp", "stop:"};
    ui::StaticText STsp{&GroupBox2, "STsp"};
    ui::Label Lsl{&GroupBox2, "Lsl", "length:"};
    ui::StaticText STsl{&GroupBox2, "STsl"};

    // The inspector position and the selected block (both ends included).
    std::int32_t inspector_position = 0;
    std::int32_t block_start = 0;
    std::int32_t block_end = 0;

    void lay_out();
    // Column widths, set when the main window first shows.
    void set_col_widths();
    // Refills every inspector field; -1 keeps the inspector position.
    void RefreshInspector(std::int32_t position);
    void DGhexClick();
    void MMrxBBClick();
    void MMrxBEClick();
    void DGhexDrawCell(ui::Canvas& c, std::int32_t col, std::int32_t row, const ui::Rect& rect);
    void CopyFieldValue(const ui::StaticText& field);

    // A drain appended bytes: rows for the new length, then the current cell to
    // the last character of the last row, which the inspector follows.
    void follow_store(std::int32_t length);
    // The same without moving: rows for the new length, the current cell, the
    // inspector position and the scroll position kept.
    void add_rows(std::int32_t length);
    // Shows bytes [start, end] (a Find hit): the first is the current cell and
    // the inspector position, all of them the selected block.
    void show_block(std::int32_t start, std::int32_t end);
    // "Clear rx data": one empty data row and the block back on byte 0.
    void clear();
    // A saved range becomes the selected block.
    void select_saved(std::int32_t start, std::int32_t end);

    InspectorOptions options() const;

 private:
    void wire();
    void option_changed();
    void set_block_end_or_start(bool start);
    const ui::Bitmap& header_image(std::int32_t col, const ui::Rect& rect, const ui::Font& font);
    void draw_data_cell(ui::Canvas& c, std::int32_t col, std::int32_t row, const ui::Rect& rect);

    ui::Control* sheet_;
    const SerialLink& link_;
    std::array<ui::Bitmap, hex_cols> headers_;
    ui::Bitmap start_mark_, end_mark_;
};
