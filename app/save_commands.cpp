// The save commands: the text view through the save-text dialog, and the
// store's bytes through the save-binary dialog.
#include "app/save_commands.h"

#include "app/window_set.h"
#include "views/text/text_save.h"

void SaveCommands::MMsavetxtClick()
{
    save_text_view(text_, SD1, &owner_);
}

void SaveCommands::show_save_binary(RxsPreset preset)
{
    const RxStore* store = nullptr;
    link_.rx_store_info(&store);
    if (!RXSForm || !store || store->length == 0) return;
    drain_timer_.set_enabled(false);
    RXSForm->preset = preset;
    RXSForm->block_start = hex_.block_start;
    RXSForm->block_end = hex_.block_end;
    RXSForm->show_modal();
    drain_timer_.set_enabled(true);
}

void SaveCommands::MMsavebinClick()
{
    show_save_binary(RxsPreset::All);
}

void SaveCommands::MMsavebinsClick()
{
    show_save_binary(RxsPreset::Selected);
}
