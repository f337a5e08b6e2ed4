// TTXFForm: the file transfer record, its timer tick, Hold/Continue, Cancel
// and the close that cleans up after every kind of end.
#include "tx/txf_form.h"

#include <algorithm>
#include <new>
#include <string>
#include <string_view>

#include "settings/setting_values.h"
#include "ui/services.h"

namespace {

constexpr ui::Color bar_colour = ui::Color::rgb(179, 208, 244);

void error_box(std::string_view text, ui::Form* owner)
{
    ui::message_box(text, "Error ...", ui::MsgIcon::Error, ui::MsgButtons::Ok, owner);
}

}  // namespace

TTXFForm::TTXFForm(SerialLink& link) : ui::Form("TXFForm"), link_(link)
{
    build_layout();
    on_show = [this] { FormShow(); };
    on_close = [this](ui::CloseAction& a) { FormClose(a); };
    Timer1.on_timer = [this] { Timer1Timer(); };
    PBtxpb.on_paint = [this](ui::Canvas& c) { bar_paint(tx_bar, c); };
    PBfifopb.on_paint = [this](ui::Canvas& c) { bar_paint(fifo_bar, c); };
    BtnHold.on_click = [this] { BtnHoldClick(); };
    BtnCancel.on_click = [this] { BtnCancelClick(); };
}

TTXFForm::~TTXFForm() = default;

void TTXFForm::build_layout()
{
    progress_window_look(*this, "Tx (0% done)", 368, 194);

    Label1.set_bounds(8, 8, 352, 14);
    STname.set_bounds(8, 24, 352, 17);
    STname.set_border(ui::StaticBorder::Single);
    STname.set_color(ui::colors::info_bk);
    LblTxPrg.set_bounds(8, 50, 352, 14);
    PBtxpb.set_bounds(8, 66, 352, 27);
    LblFifo.set_bounds(8, 100, 352, 14);
    PBfifopb.set_bounds(8, 116, 352, 27);
    BtnHold.set_bounds(8, 158, 75, 25);
    BtnCancel.set_bounds(285, 158, 75, 25);
    BtnCancel.set_cancel(true);
    OD1.filter = "All files (*.*)|*.*";
}

void TTXFForm::FormShow()
{
    bar_init(tx_bar, PBtxpb, bar_colour, 1);
    bar_init(fifo_bar, PBfifopb, bar_colour, 1);
    file_.close();
    buffer_.reset();
    tr_ = Transfer{};
    // Nothing of the previous transfer may stand while this one starts.
    set_caption("Tx (0% done)");
    STname.set_caption(" ");
    BtnHold.set_caption("Hold");
    LblTxPrg.set_caption("Tx progress:");
    LblFifo.set_caption("Tx FIFO:");
    Timer1.set_enabled(true);
    std::string why;
    if (!start_transfer(why)) {
        // Shown before the close request, so no tick closes the window under it.
        if (!why.empty()) error_box("Cannot send file \"" + OD1.file_name + "\".\n" + why, this);
        tr_.close_request = true;
        tr_.outcome = Outcome::NotStarted;
    }
}

bool TTXFForm::start_transfer(std::string& why)
{
    if (!OD1.execute(this)) return false;
    const std::string path = OD1.file_name;
    if (!file_exists(path)) {
        // The system's own words for what is there instead of a file.
        const int error = file_.open(path);
        file_.close();
        why = error != 0 ? file_error_text(error) : "It is no file.";
        return false;
    }
    const std::size_t cut = path.find_last_of("\\/");
    OD1.initial_dir = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    STname.set_caption(" " + name);
    if (const int error = file_.open(path); error != 0) {
        why = file_error_text(error);
        return false;
    }
    const std::int64_t size = file_.size();
    if (size < 0) why = "Its size cannot be read.";
    if (size == 0) why = "The file is empty.";
    if (size > txf_max_file_size) why = "The file is larger than 1 GB (1073741824 bytes).";
    if (!why.empty()) return false;
    tr_.file_size = static_cast<std::int32_t>(size);
    tr_.buffer_size = std::min(tr_.file_size, link_.settings().port.port_txth_size);
    if (tr_.buffer_size > 0) buffer_.reset(new (std::nothrow) unsigned char[static_cast<std::size_t>(tr_.buffer_size)]);
    if (!buffer_) {
        why = "Not enough memory for the transfer.";
        return false;
    }
    // The link may already be gone; the first tick then reports it.
    if (connected()) {
        tr_.last_fill = link_.tx_fill();
        tr_.queued_before = tr_.last_fill;
        link_.tx_timeout_reset();
        link_.tx_file_begins(name, size);
    }
    tr_.state = TxState::Reading;
    return true;
}

void TTXFForm::stop(Outcome why)
{
    tr_.state = TxState::Idle;
    tr_.close_request = true;
    tr_.outcome = why;
}

void TTXFForm::Timer1Timer()
{
    if (tr_.close_request) {
        tr_.state = TxState::Idle;
        close();
        return;
    }
    std::int32_t fill = 0;
    if (tr_.state != TxState::Idle) {
        // Every FIFO operation needs the link: a disconnect (by the user or a
        // lost port) frees the FIFO under the transfer.
        if (!connected()) {
            stop(Outcome::LinkLost);
            error_box("Port connection lost during file transfer!\nCanceling file transfer.", this);
        } else {
            fill = link_.tx_fill();
            if (link_.tx_timeout_flag()) {
                stop(Outcome::TimedOut);
                error_box(
                    "Transmission timeout occured during file transfer!\nTx FIFO cleared, canceling file transfer.",
                    this);
            }
        }
    }
    if (tr_.state == TxState::Reading) read_file();
    if (tr_.state != TxState::Idle) count_progress(fill);
    bar_refresh(tx_bar);
    bar_refresh(fifo_bar);
}

void TTXFForm::read_file()
{
    const std::int32_t room = link_.tx_free();
    if (room <= 0) return;
    std::int32_t n = room;
    if (static_cast<std::int64_t>(tr_.bytes_read) + room > tr_.file_size) {
        n = tr_.file_size - tr_.bytes_read;
        tr_.state = TxState::Draining;
    }
    // A FIFO made by a later connection may be larger than the buffer.
    n = std::min(n, tr_.buffer_size);
    if (n <= 0) return;
    std::size_t got = 0;
    const int error = file_.read(buffer_.get(), static_cast<std::size_t>(n), &got);
    const auto g = static_cast<std::int32_t>(std::min<std::size_t>(got, static_cast<std::size_t>(n)));
    if (g == 0) {
        // The file holds fewer bytes than it had at the start (or cannot be
        // read on): the transfer could never complete.
        stop(Outcome::FileShort);
        std::string text = "File could not be read to its end!\nCanceling file transfer.";
        if (error != 0) text.append("\n").append(file_error_text(error));
        error_box(text, this);
        return;
    }
    link_.tx_put(buffer_.get(), g);
    tr_.bytes_read += g;
    tr_.left_fifo += g;
    // A short read is no error: the next tick reads on from here.
    if (tr_.bytes_read < tr_.file_size) tr_.state = TxState::Reading;
}

void TTXFForm::count_progress(std::int32_t fill_before_read)
{
    const std::int32_t fill_now = link_.tx_fill();
    // A time-out empties the FIFO at once; those bytes never went out. The
    // flag is read after the fill, so a clear before that read is seen here,
    // and the next tick reports it.
    if (link_.tx_timeout_flag()) return;
    tr_.left_fifo += tr_.last_fill - fill_now;
    tr_.last_fill = fill_now;
    tr_.bytes_sent =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(tr_.left_fifo - tr_.queued_before, 0, tr_.bytes_read));

    const double size = tr_.file_size;
    tx_bar.value = size > 0 ? static_cast<int>(tr_.bytes_sent * 10000.0 / size) : 0;
    set_caption("Tx (" + std::to_string(size > 0 ? static_cast<int>(tr_.bytes_sent * 100.0 / size) : 0) + "% done)");
    LblTxPrg.set_caption("Tx progress (" + size_text(tr_.bytes_sent) + " / " + size_text(size) + "):");
    // Complete once the transmit thread has handed the last block to the driver.
    if (tr_.bytes_sent == tr_.file_size && link_.tx_block_pending() == 0) stop(Outcome::Complete);
    const double capacity = link_.settings().port.port_txth_size;
    fifo_bar.value = capacity > 0 ? static_cast<int>(fill_before_read * 10000.0 / capacity) : 0;
    LblFifo.set_caption("Tx FIFO (" + size_text(fill_before_read) + "):");
}

void TTXFForm::BtnHoldClick()
{
    if (connected()) link_.tx_hold(tr_.hold ? 0 : 1);
    BtnHold.set_caption(tr_.hold ? "Hold" : "Continue");
    tr_.hold = !tr_.hold;
}

void TTXFForm::BtnCancelClick()
{
    if (tr_.outcome == Outcome::None) tr_.outcome = Outcome::Cancelled;
    close();
}

void TTXFForm::FormClose(ui::CloseAction&)
{
    Timer1.set_enabled(false);
    file_.close();
    buffer_.reset();
    if (tr_.outcome == Outcome::None) tr_.outcome = Outcome::Cancelled;
    tr_.state = TxState::Idle;
    // A complete file's last bytes end its traffic entry by themselves.
    if (tr_.outcome != Outcome::Complete) {
        if (connected()) link_.tx_clear();
        link_.tx_file_ends();
    }
    if (connected()) link_.tx_hold(0);
}

int LoadSendFileFolder(const ProfileFile* file, TTXFForm& form)
{
    if (!file) return 1;
    form.OD1.initial_dir = read_setting_text(*file, "PATH", "path_send_file", "");
    return 0;
}

int SaveSendFileFolder(ProfileFile* file, const TTXFForm& form)
{
    if (!file) return 1;
    write_setting_text(*file, "PATH", "path_send_file", form.OD1.initial_dir);
    return 0;
}
