// TMForm's save commands: the text view through the main window's save
// dialog, and the store's bytes through the save-binary dialog.
#include "app/m_form.h"
#include "app/window_set.h"
#include "views/text_save.h"

void TMForm::MMsavetxtClick()
{
    save_text_view(Mtxt, SD1, this);
}

void TMForm::show_save_binary(RxsPreset preset)
{
    const RxStore* store = nullptr;
    link.rx_store_info(&store);
    if (!RXSForm || !store || store->length == 0) return;
    // The store must not change while the range is checked and written.
    Timer1.set_enabled(false);
    RXSForm->preset = preset;
    RXSForm->block_start = hex.block_start;
    RXSForm->block_end = hex.block_end;
    RXSForm->show_modal();
    Timer1.set_enabled(true);
}

void TMForm::MMsavebinClick()
{
    show_save_binary(RxsPreset::All);
}

void TMForm::MMsavebinsClick()
{
    show_save_binary(RxsPreset::Selected);
}
