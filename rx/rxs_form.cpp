// The save-binary dialog (see rxs_form.h): its fields, key filters and the
// checked, single-write save of the chosen range of the received data store.
#include "rx/rxs_form.h"

#include <string>

#include "platform/files.h"
#include "ui/services.h"

namespace {

std::string name_without_folder(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

TRXSForm::TRXSForm(const SerialLink& link) : ui::Form("RXSForm"), link_(link)
{
    set_caption("Save binary data");
    set_border_style(ui::BorderStyle::Single);
    set_border_icons({.system_menu = true, .minimize = false, .maximize = false});
    set_position(ui::Position::MainFormCenter);
    set_client_size(466, 188);

    const int rows[] = {16, 52, 88};
    ui::Label* titles[] = {&Label1, &Label2, &Label3};
    ui::Label* decs[] = {&Label4, &Label6, &Label8};
    ui::Label* hexes[] = {&Label5, &Label7, &Label9};
    ui::Edit* dec_fields[] = {&Ebeg, &Eend, &Elen};
    ui::Edit* hex_fields[] = {&EbegHex, &EendHex, &ElenHex};
    for (int i = 0; i < 3; ++i) {
        titles[i]->set_bounds(8, rows[i] + 3, 176, 14);
        decs[i]->set_bounds(186, rows[i] + 3, 22, 14);
        dec_fields[i]->set_bounds(210, rows[i], 80, 21);
        hexes[i]->set_bounds(298, rows[i] + 3, 22, 14);
        hex_fields[i]->set_bounds(322, rows[i], 64, 21);
        dec_fields[i]->on_key_press = [this](char& k) { EbegKeyPress(k); };
        hex_fields[i]->on_key_press = [this](char& k) { EbegHexKeyPress(k); };
    }
    BtnBeg.set_bounds(394, rows[0] - 2, 64, 25);
    BtnEnd.set_bounds(394, rows[1] - 2, 64, rows[2] - rows[1] + 25);
    Bevel1.set_bounds(8, 124, 450, 2);
    BtnSave.set_bounds(302, 148, 75, 25);
    BtnCancel.set_bounds(383, 148, 75, 25);
    BtnSave.set_default(true);
    BtnCancel.set_cancel(true);
    SD1.filter = "All files (*.*)|*.*";

    Ebeg.on_enter = [this] { set_start(StartField::Dec); };
    EbegHex.on_enter = [this] { set_start(StartField::Hex); };
    Eend.on_enter = [this] { set_end(EndField::EndDec); };
    EendHex.on_enter = [this] { set_end(EndField::EndHex); };
    Elen.on_enter = [this] { set_end(EndField::LenDec); };
    ElenHex.on_enter = [this] { set_end(EndField::LenHex); };
    BtnBeg.on_click = [this] { BtnBegClick(); };
    BtnEnd.on_click = [this] { BtnEndClick(); };
    BtnSave.on_click = [this] { BtnSaveClick(); };
    BtnCancel.on_click = [this] { BtnCancelClick(); };
    on_show = [this] { FormShow(); };
    colour_fields();
}

void TRXSForm::colour_fields()
{
    auto paint = [](ui::Edit& e, bool active) { e.set_color(active ? ui::colors::window : ui::colors::btn_face); };
    paint(Ebeg, active_start == StartField::Dec);
    paint(EbegHex, active_start == StartField::Hex);
    paint(Eend, active_end == EndField::EndDec);
    paint(EendHex, active_end == EndField::EndHex);
    paint(Elen, active_end == EndField::LenDec);
    paint(ElenHex, active_end == EndField::LenHex);
}

void TRXSForm::set_start(StartField f)
{
    active_start = f;
    colour_fields();
}

void TRXSForm::set_end(EndField f)
{
    active_end = f;
    colour_fields();
}

void TRXSForm::FormShow()
{
    colour_fields();
    if (preset == RxsPreset::All) {
        BtnBegClick();
        BtnEndClick();
        ui::post_click(BtnSave);  // straight on to the file dialog once the dialog is up
        return;
    }
    const std::int32_t length = store_length();
    if (block_start >= length || block_end >= length || block_end < block_start) return;
    Ebeg.set_text(std::to_string(block_start));
    EbegHex.set_text(range_hex_text(block_start));
    fill_end_fields(block_end, std::int64_t(block_end) - block_start + 1);
}

void TRXSForm::fill_end_fields(std::int64_t end, std::int64_t count)
{
    Eend.set_text(std::to_string(end));
    EendHex.set_text(range_hex_text(end));
    Elen.set_text(std::to_string(count));
    ElenHex.set_text(range_hex_text(count));
}

void TRXSForm::BtnBegClick()
{
    Ebeg.set_text("0");
    EbegHex.set_text("0");
}

void TRXSForm::BtnEndClick()
{
    const std::int32_t length = store_length();
    fill_end_fields(std::int64_t(length) - 1, length);
}

void TRXSForm::BtnCancelClick()
{
    set_modal_result(ui::mr::Cancel);
}

void TRXSForm::EbegKeyPress(char& key)
{
    if (!(key >= '0' && key <= '9') && key != 8) key = 0;
}

void TRXSForm::EbegHexKeyPress(char& key)
{
    if (key >= 'a' && key <= 'f') key = static_cast<char>(key - 'a' + 'A');
    if (!(key >= '0' && key <= '9') && !(key >= 'A' && key <= 'F') && key != 8) key = 0;
}

void TRXSForm::show_error(const std::string& text, int system_error)
{
    // A file that could not be written says why, on a line of its own.
    std::string message = text;
    if (system_error != 0) message.append(1, '\n').append(file_error_text(system_error));
    ui::message_box(message, "Error ...", ui::MsgIcon::Error, ui::MsgButtons::Ok, this);
}

void TRXSForm::BtnSaveClick()
{
    const ui::Edit& start_field = active_start == StartField::Dec ? Ebeg : EbegHex;
    const ui::Edit* end_fields[] = {&Eend, &EendHex, &Elen, &ElenHex};
    const ui::Edit& end_field = *end_fields[static_cast<int>(active_end)];
    const BinaryRange range =
        check_binary_range(active_start, start_field.text(), active_end, end_field.text(), store_length());
    if (!range.error.empty()) {
        show_error(range.error);
        return;
    }
    fill_end_fields(range.end, range.count);

    if (!SD1.execute(this)) return;
    const std::string path = SD1.file_name;
    if (file_exists(path)) {
        const std::string question = "File \"" + name_without_folder(path) + "\" already exists!\nOverwrite?";
        if (ui::message_box(question, "Warning ...", ui::MsgIcon::Warning, ui::MsgButtons::YesNo, this) != ui::mr::Yes)
            return;
    }
    FileWriter out;
    if (const int error = out.open(path); error != 0) {
        show_error("Creating file \"" + path + "\" failed!", error);
        return;
    }
    // Timer1 is stopped while the dialog is open, so the store stands still.
    const RxStore* store = nullptr;
    link_.rx_store_info(&store);
    int error = out.write(store->data + range.start, static_cast<std::size_t>(range.count));
    // What the close reports counts too: bytes still on their way may be lost.
    const int closed = out.close();
    if (error == 0) error = closed;
    if (error != 0) {
        show_error("Writting data failed!", error);
        return;
    }
    SD1.initial_dir = folder_of(path);
    if (on_saved) on_saved(range.start, range.end);
    set_modal_result(ui::mr::Ok);
}

std::int32_t TRXSForm::store_length() const
{
    const RxStore* store = nullptr;
    link_.rx_store_info(&store);
    return store ? store->length : 0;
}
