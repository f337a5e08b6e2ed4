// The Text page: the text view of the received data, the sink the link's
// conversion writes into, and the "Rx" > "Text" items that govern it (word
// wrap, auto-scroll, invisible symbols, the line-break mode). The items belong
// to the main window's menu; the page holds them by reference.
#pragma once

#include "link/serial_link.h"
#include "ui/menu.h"
#include "ui/page_control.h"
#include "ui/text_view.h"
#include "views/text/text_view_sink.h"

class TextPage {
 public:
    // The items are the menu's; they may be built after the page.
    struct Items {
        ui::MenuItem& MMwwrap;
        ui::MenuItem& MMas;
        ui::MenuItem& MMdis;
        ui::MenuItem& MMlnCR;
        ui::MenuItem& MMlnLF;
        ui::MenuItem& MMlnCRLF;
        ui::MenuItem& MMlnLFCR;
        ui::MenuItem& MMlnANY;
        ui::MenuItem& MMansi;
        ui::MenuItem& MMutf8;
    };
    TextPage(ui::TabSheet& sheet, SerialLink& link, const Items& items);
    TextPage(TextPage&) = delete;

    ui::TextView Mtxt;
    const Items items;
    SerialLink& link;
    // Where the conversion writes: the view, and where each line begins in the store.
    TextViewSink sink{Mtxt};

    // The item handlers, each after its item changed its mark.
    void MMwwrapClick();
    void MMasClick();
    void MMdisClick();
    void MMlnClick();  // any of the five line-break items
    void MMtxtRfClick();
    void MMansiClick();
    void MMutf8Click();
    // The line-break mode the radio items say (0 CR ... 4 CR or LF).
    int line_break_mode();
};
