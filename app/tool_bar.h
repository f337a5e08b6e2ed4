// The main window's tool bar: Connect and Clear on the left, the send buttons
// anchored to the right edge, and the glyphs they show. The window wires the
// buttons to its handlers; this unit only builds and lays them out.
#pragma once

#include "ui/form.h"
#include "ui/image.h"
#include "ui/shape.h"
#include "ui/tool_bar.h"

class MainToolBar {
 public:
    explicit MainToolBar(ui::Form& owner);
    // Once the window has its client size: the right group is anchored to the
    // edge it has then.
    void lay_out(int client_width);

    // The two glyphs of BtnCon and the others; declared first so the buttons
    // showing them are destroyed before them.
    ui::ImageList ImageList2{16, 16};
    ui::ImageList ToolGlyphs{16, 16};

    ui::ToolBar Bevel1;
    ui::ToolButton BtnCon{&Bevel1, "BtnCon", "Connect"};
    ui::Bevel Bevel2{&Bevel1, "Bevel2", ui::BevelShape::LeftLine};
    ui::ToolButton BtnClr{&Bevel1, "BtnClr", "Clear"};
    ui::Bevel Bevel3{&Bevel1, "Bevel3", ui::BevelShape::LeftLine};
    ui::ToolButton BtnTxEOF{&Bevel1, "BtnTxEOF", "Send EOF"};
    ui::ToolButton BtnTxEOL{&Bevel1, "BtnTxEOL", "Send EOL"};
    ui::ToolButton BtnTxTab{&Bevel1, "BtnTxTab", "Send Tab"};
    ui::Bevel Bevel4{&Bevel1, "Bevel4", ui::BevelShape::LeftLine};
    ui::ToolButton BtnTxStr{&Bevel1, "BtnTxStr", "Send string"};
    ui::ToolButton BtnTxInt{&Bevel1, "BtnTxInt", "Send integer"};
    ui::ToolButton BtnTxfile{&Bevel1, "BtnTxfile", "Send file"};
    ui::ToolButton BtnKeyboard{&Bevel1, "BtnKeyboard", "From keyboard"};
};
