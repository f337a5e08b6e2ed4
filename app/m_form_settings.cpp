// The settings load and save sequences of the main window, in their fixed
// orders; each group of the save is written whatever became of the others.
#include "app/m_form_settings.h"

#include <exception>
#include <functional>

#include "app/m_form.h"
#include "app/window_set.h"
#include "settings/folder_groups.h"
#include "settings/plot_group.h"
#include "settings/port_group.h"
#include "settings/start_folder.h"
#include "settings/text_view_group.h"
#include "settings/traffic_group.h"
#include "settings/window_place_group.h"
#include "ui/application.h"
#include "ui/services.h"

namespace {

// The TXTVIEW values onto the "Rx" > "Text" items, each taking effect as when
// the user sets it.
void apply_text_view(TMForm& form, const TextViewSettings& v)
{
    TextPage& page = form.text_page;
    form.menu.MMas.set_checked(v.auto_scroll);
    form.menu.MMwwrap.set_checked(v.word_wrap);
    text_word_wrap_toggled(page);
    form.menu.MMdis.set_checked(v.special_char_display);
    form.link.rx_text_invisible(v.special_char, form.menu.MMdis.checked());
    ui::MenuItem* modes[] = {&form.menu.MMlnCR, &form.menu.MMlnLF, &form.menu.MMlnCRLF, &form.menu.MMlnLFCR,
                             &form.menu.MMlnANY};
    if (v.line_break >= 0 && v.line_break <= 4) modes[v.line_break]->click();
    form.menu.MMtstamp.set_checked(v.timestamps);
    text_timestamps_toggled(form.menu.MMtstamp, form.link);
    form.menu.MMfollow.set_checked(v.follow_new_data);
    form.menu.MMansi.set_checked(v.ansi_colours);
    form.link.rx_text_ansi(v.ansi_colours);
    form.menu.MMutf8.set_checked(v.utf8);
    form.link.rx_text_utf8(v.utf8);
}

TextViewSettings text_view_of(TMForm& form)
{
    TextViewSettings v;
    v.auto_scroll = form.menu.MMas.checked();
    v.word_wrap = form.menu.MMwwrap.checked();
    v.special_char_display = form.menu.MMdis.checked();
    v.line_break = line_break_from_menu(form.text_page);
    v.timestamps = form.menu.MMtstamp.checked();
    v.follow_new_data = form.menu.MMfollow.checked();
    v.ansi_colours = form.menu.MMansi.checked();
    v.utf8 = form.menu.MMutf8.checked();
    return v;
}

// The saved place, fitted to the screen the window now comes back on.
void apply_window_place(TMForm& form, const WindowPlace& place)
{
    const ui::Rect area = ui::screen_work_area(place.bounds);
    form.set_normal_bounds(fit_window_place(place.bounds, area, form.min_window_size()));
    form.set_maximized(place.maximized);
}

}  // namespace

std::string load_settings_on_show(TMForm& form)
{
    ProfileFile* file = settings_file();
    std::string help;
    LoadHelpSettings(file, settings_start_folder(), help);
    LoadSaveTextFolder(file, form.save.SD1.initial_dir);
    if (RXSForm) LoadSaveBinFolder(file, RXSForm->SD1.initial_dir);
    LoadSendFileFolder(file, *TXFForm);
    LoadStringSendSettings(file, *TXSForm);
    LoadIntegerSendSettings(file, *TXIForm);
    LoadPortSettings(file, form.port_settings);
    form.run_port.apply(form.port_settings);
    form.menu.MMreconnect.set_checked(form.port_settings.port_reconnect != 0);
    TextViewSettings view;
    if (LoadTextViewSettings(file, view) == 0) apply_text_view(form, view);
    LoadCaptureFolder(file, form.capture.SDcap.initial_dir);
    LoadFindSettings(file, *FindForm);
    PlotSettings plot;
    if (LoadPlotSettings(file, plot) == 0) form.plot.apply(plot);
    LoadPlotCsvFolder(file, form.plot.SDplot.initial_dir);
    LoadStringSendOptions(file, *TXSForm);
    LoadQuickSendSlots(file, TXSForm->slots);
    TrafficSettings traffic;
    if (LoadTrafficSettings(file, traffic) == 0) form.traffic.apply(traffic);
    LoadTrafficCsvFolder(file, form.traffic.SDtraffic.initial_dir);
    LoadFileTransferSettings(file, *XferForm);
    if (WindowPlace place; LoadWindowPlace(file, place) == 0) apply_window_place(form, place);
    return help;
}

void save_settings_on_close(TMForm& form)
{
    ProfileFile* file = settings_file();
    const std::function<void()> groups[] = {
        [&] { SavePortSettings(file, form.run_port.to_save(form.port_settings)); },
        [&] { SaveSendFileFolder(file, *TXFForm); },
        [&] { SaveStringSendSettings(file, *TXSForm); },
        [&] { SaveIntegerSendSettings(file, *TXIForm); },
        [&] {
            if (RXSForm) SaveSaveBinFolder(file, RXSForm->SD1.initial_dir);
        },
        [&] { SaveTextViewSettings(file, text_view_of(form)); },
        [&] { SaveSaveTextFolder(file, form.save.SD1.initial_dir); },
        [&] { SaveCaptureFolder(file, form.capture.SDcap.initial_dir); },
        [&] { SaveFindSettings(file, *FindForm); },
        [&] { SavePlotCsvFolder(file, form.plot.SDplot.initial_dir); },
        [&] { SavePlotSettings(file, form.plot.settings()); },
        [&] { SaveStringSendOptions(file, *TXSForm); },
        [&] { SaveQuickSendSlots(file, TXSForm->slots); },
        [&] { SaveTrafficCsvFolder(file, form.traffic.SDtraffic.initial_dir); },
        [&] { SaveTrafficSettings(file, form.traffic.settings()); },
        [&] { SaveFileTransferSettings(file, *XferForm); },
        [&] {
            SaveWindowPlace(file, WindowPlace{form.normal_bounds(), form.maximized()});
        },
    };
    // A group that fails ("Unable to write to <path>") loses only its own keys:
    // every other group is still written, and the first error is shown once,
    // after which the window still closes so the program can end.
    std::exception_ptr first_error;
    for (const auto& save : groups) {
        try {
            save();
        } catch (const std::exception&) {
            if (!first_error) first_error = std::current_exception();
        }
    }
    if (first_error) ui::app().handle_exception(first_error);
}
