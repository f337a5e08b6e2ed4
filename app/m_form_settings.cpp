// The settings load and save sequences of the main window. Until the settings
// file groups exist the record keeps its built-in defaults and nothing is
// written; the order below is the one the groups must keep.
#include "app/m_form_settings.h"

#include "app/m_form.h"

std::string load_settings_on_show(TMForm&)
{
    // 1. help file (HELP/path), 2. PATH/path_save_text, 3. LoadSaveBinFolder,
    // LoadSendFileFolder, LoadStringSendSettings, LoadIntegerSendSettings,
    // LoadPortSettings (sets settings_loaded, clears connected),
    // LoadTextViewSettings.
    return {};
}

void save_settings_on_close(TMForm&)
{
    // SavePortSettings, SaveSendFileFolder, SaveStringSendSettings,
    // SaveIntegerSendSettings, SaveSaveBinFolder, SaveTextViewSettings, then
    // PATH/path_save_text.
}
