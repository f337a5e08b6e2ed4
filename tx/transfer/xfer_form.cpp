// TXferForm: choosing the file or folder, starting the run, showing its
// progress, and the end of every kind of transfer.
#include "tx/transfer/xfer_form.h"

#include <cstdio>

#include "settings/setting_values.h"
#include "ui/services.h"

namespace {

constexpr ui::Color bar_colour = ui::Color::rgb(179, 208, 244);
const char* const protocol_names[] = {"XMODEM", "XMODEM-CRC", "XMODEM-1K", "YMODEM"};

std::string folder_with_separator(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace

TXferForm::TXferForm(SerialLink& link) : ui::Form("XferForm"), link_(link)
{
    build_layout();
    on_show = [this] { FormShow(); };
    on_close = [this](ui::CloseAction& a) { FormClose(a); };
    BtnSend.on_click = [this] { BtnSendClick(); };
    BtnReceive.on_click = [this] { BtnReceiveClick(); };
    BtnCancel.on_click = [this] { BtnCancelClick(); };
    Timer1.on_timer = [this] { Timer1Timer(); };
    PBprogress.on_paint = [this](ui::Canvas& c) { bar_paint(bar, c); };
}

TXferForm::~TXferForm()
{
    if (run_) run_->cancel();
    run_.reset();
    link_.rx_divert(false);
}

void TXferForm::build_layout()
{
    progress_window_look(*this, "File transfer", 368, 204);

    LblProto.set_bounds(8, 12, 60, 14);
    CBproto.set_bounds(72, 8, 120, 21);
    CBproto.set_items({protocol_names[0], protocol_names[1], protocol_names[2], protocol_names[3]});
    CBproto.set_item_index(1);
    BtnSend.set_bounds(204, 6, 75, 25);
    BtnReceive.set_bounds(285, 6, 75, 25);
    LblFile.set_bounds(8, 42, 352, 14);
    STfile.set_bounds(8, 58, 352, 17);
    STfile.set_border(ui::StaticBorder::Single);
    STfile.set_color(ui::colors::info_bk);
    PBprogress.set_bounds(8, 84, 352, 27);
    LblStatus.set_bounds(8, 118, 352, 14);
    STstatus.set_bounds(8, 134, 352, 17);
    BtnCancel.set_bounds(285, 168, 75, 25);
    BtnCancel.set_cancel(true);
    ODsend.filter = "All files (*.*)|*.*";
    SDreceive.filter = "All files (*.*)|*.*";
    SDreceive.overwrite_prompt = true;
    SDreceive.title = "Receive into file";
    SDfolder.filter = "All files (*.*)|*.*";
    SDfolder.title = "Receive into folder";
    SDfolder.file_name = "YMODEM batch";
}

XferProtocol TXferForm::protocol() const
{
    const int i = CBproto.item_index();
    return i >= 0 && i <= 3 ? static_cast<XferProtocol>(i) : XferProtocol::XmodemCrc;
}

void TXferForm::set_protocol(XferProtocol p)
{
    CBproto.set_item_index(static_cast<int>(p));
}

void TXferForm::FormShow()
{
    bar_init(bar, PBprogress, bar_colour, 1);
    Timer1.set_enabled(true);
    sync_buttons();
}

void TXferForm::sync_buttons()
{
    const bool busy = running();
    const bool can_start = !busy && link_.connected();
    BtnSend.set_enabled(can_start);
    BtnReceive.set_enabled(can_start);
    CBproto.set_enabled(!busy);
}

void TXferForm::BtnSendClick()
{
    if (running() || !link_.connected()) return;
    if (!ODsend.execute(this)) return;
    ODsend.initial_dir = folder_with_separator(ODsend.file_name);
    send_file(ODsend.file_name);
}

bool TXferForm::send_file(const std::string& path)
{
    if (running() || !link_.connected()) return false;
    auto source = std::make_unique<XferFileSource>();
    std::string why;
    if (!file_exists(path)) {
        why = "It is no file.";
    } else if (const int error = source->open(path); error != 0) {
        why = file_error_text(error);
    } else if (source->size() < 0) {
        why = "Its size cannot be read.";
    }
    if (!why.empty()) {
        ui::message_box("Cannot send file \"" + path + "\".\n" + why, "Error ...", ui::MsgIcon::Error,
                        ui::MsgButtons::Ok, this);
        return false;
    }
    source_ = std::move(source);
    sink_.reset();
    begin(make_xfer_sender(protocol(), *source_), source_->name());
    return true;
}

void TXferForm::BtnReceiveClick()
{
    if (running() || !link_.connected()) return;
    if (protocol() == XferProtocol::Ymodem) {
        SDfolder.initial_dir = receive_folder;
        if (!SDfolder.execute(this)) return;
        receive_into(folder_with_separator(SDfolder.file_name));
        return;
    }
    if (!SDreceive.execute(this)) return;
    SDreceive.initial_dir = folder_with_separator(SDreceive.file_name);
    receive_into(SDreceive.file_name);
}

void TXferForm::receive_into(const std::string& target)
{
    if (running() || !link_.connected() || target.empty()) return;
    if (protocol() == XferProtocol::Ymodem) {
        receive_folder = target;
        sink_ = std::make_unique<XferFileSink>(
            target, [this](const std::string& file) { return run_ && run_->ask(file + " exists.\nOverwrite it?"); });
    } else {
        sink_ = std::make_unique<XferFileSink>(target);
    }
    source_.reset();
    begin(make_xfer_receiver(protocol(), *sink_), target);
}

void TXferForm::begin(std::unique_ptr<XferEngine> engine, const std::string& shown_name)
{
    STfile.set_caption(" " + shown_name);
    STstatus.set_caption(" Waiting for the other side...");
    bar.value = 0;
    bar_refresh(bar);
    last_result_.clear();
    // Whatever the receive FIFO holds now came before the transfer: the views keep it.
    link_.rx_divert(true);
    run_ = std::make_unique<XferRun>(link_.rx_side(), link_.tx_side(), [this] { return now_ms(); });
    started_ms_ = now_ms();
    ended_ = false;
    run_->start(std::move(engine));
    sync_buttons();
}

void TXferForm::show_status(const XferStatus& s)
{
    const double seconds = double(now_ms() - started_ms_) / 1000.0;
    const double rate = seconds > 0 ? double(s.bytes) / 1024.0 / seconds : 0.0;
    char text[160];
    if (s.blocks_total > 0) {
        std::snprintf(text, sizeof text, " block %lld of %lld, %d retries, %.1f kB/s", static_cast<long long>(s.block),
                      static_cast<long long>(s.blocks_total), s.retries, rate);
    } else {
        std::snprintf(text, sizeof text, " block %lld, %d retries, %.1f kB/s", static_cast<long long>(s.block),
                      s.retries, rate);
    }
    STstatus.set_caption(text);
    if (s.size > 0) bar.value = static_cast<int>(double(s.bytes) * 10000.0 / double(s.size));
    bar_refresh(bar);
    if (!s.file.empty()) STfile.set_caption(" " + s.file + (s.size >= 0 ? " (" + size_text(double(s.size)) + ")" : ""));
}

void TXferForm::Timer1Timer()
{
    if (ended_ || !run_) {
        sync_buttons();
        return;
    }
    if (!link_.connected()) {
        run_->cancel();
        run_->join();
        // The lost port is the one message: the end's own box would say "Cancelled" first.
        cancelled_by_user_ = true;
        finish();
        const std::string text = "Port connection lost during file transfer at block " +
                                 std::to_string(run_->status().block) + ".\n" + last_result_;
        last_result_ = text;
        STstatus.set_caption(" Port connection lost.");
        ui::message_box(text, "Error ...", ui::MsgIcon::Error, ui::MsgButtons::Ok, this);
        return;
    }
    if (const std::string q = run_->question(); !q.empty()) {
        // The message box runs this timer again under it: ask once.
        if (asking_) return;
        asking_ = true;
        const bool yes =
            ui::message_box(q, "Confirm", ui::MsgIcon::Question, ui::MsgButtons::YesNo, this) == ui::mr::Yes;
        asking_ = false;
        if (run_) run_->answer(yes);
        return;
    }
    if (run_->finished()) {
        run_->join();
        finish();
        return;
    }
    show_status(run_->status());
}

void TXferForm::finish()
{
    ended_ = true;
    link_.rx_divert(false);
    const XferStatus s = run_->status();
    show_status(s);
    std::string text = s.message;
    if (sink_)
        for (const std::string& note : sink_->notes()) text += "\n" + note;
    last_result_ = text;
    STstatus.set_caption(" " + s.message);
    if (s.state == XferState::Done) {
        bar.value = 10000;
        bar_refresh(bar);
    }
    sync_buttons();
    // The user's own cancel needs no box; every other failure says why.
    if (s.state == XferState::Failed && !cancelled_by_user_ && visible())
        ui::message_box(text, "Error ...", ui::MsgIcon::Error, ui::MsgButtons::Ok, this);
    else if (s.state == XferState::Done && sink_ && !sink_->notes().empty() && visible())
        ui::message_box(text, "File transfer", ui::MsgIcon::Information, ui::MsgButtons::Ok, this);
    cancelled_by_user_ = false;
}

void TXferForm::BtnCancelClick()
{
    if (!running()) {
        close();
        return;
    }
    cancelled_by_user_ = true;
    run_->cancel();
}

void TXferForm::FormClose(ui::CloseAction&)
{
    // A hidden window runs no transfer: closing cancels it.
    if (running()) {
        cancelled_by_user_ = true;
        run_->cancel();
        run_->join();
        finish();
    }
    Timer1.set_enabled(false);
}

int LoadFileTransferSettings(const ProfileFile* file, TXferForm& form)
{
    if (!file) return 1;
    const std::int32_t p = read_setting_integer(*file, "FILETRANSFER", "protocol", 1);
    form.set_protocol(p >= 0 && p <= 3 ? static_cast<XferProtocol>(p) : XferProtocol::XmodemCrc);
    form.ODsend.initial_dir = read_setting_text(*file, "FILETRANSFER", "path_send", "");
    form.SDreceive.initial_dir = read_setting_text(*file, "FILETRANSFER", "path_receive", "");
    form.receive_folder = read_setting_text(*file, "FILETRANSFER", "path_batch", "");
    return 0;
}

int SaveFileTransferSettings(ProfileFile* file, const TXferForm& form)
{
    if (!file) return 1;
    write_setting_integer(*file, "FILETRANSFER", "protocol", static_cast<std::int32_t>(form.protocol()));
    write_setting_text(*file, "FILETRANSFER", "path_send", form.ODsend.initial_dir);
    write_setting_text(*file, "FILETRANSFER", "path_receive", form.SDreceive.initial_dir);
    write_setting_text(*file, "FILETRANSFER", "path_batch", form.receive_folder);
    return 0;
}
