// "Rx" > "Text" > "Save text" and "Rx" > "Binary" > "Save all" / "Save selected".
#pragma once

#include "link/serial_link.h"
#include "rx/rxs_form.h"
#include "ui/file_dialog.h"
#include "ui/form.h"
#include "ui/text_view.h"
#include "ui/timer.h"
#include "views/hex/hex_page.h"

class SaveCommands {
 public:
    // drain_timer: held still while the save-binary dialog checks and writes a
    // range, so the store does not change under it.
    SaveCommands(ui::Form& owner, SerialLink& link, ui::TextView& text, HexPage& hex, ui::Timer& drain_timer)
        : owner_(owner), link_(link), text_(text), hex_(hex), drain_timer_(drain_timer)
    {
    }

    // The save-text dialog; its initial folder is remembered in the settings.
    ui::SaveDialog SD1{"SD1"};

    void MMsavetxtClick();
    void MMsavebinClick();
    void MMsavebinsClick();

 private:
    void show_save_binary(RxsPreset preset);

    ui::Form& owner_;
    SerialLink& link_;
    ui::TextView& text_;
    HexPage& hex_;
    ui::Timer& drain_timer_;
};
