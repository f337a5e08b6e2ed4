// The Traffic page: controls, cutting on its timer, painting only the rows on
// screen, selection and copy, and the CSV export.
#include "views/traffic/traffic_page.h"

#include <algorithm>
#include <charconv>

#include "platform/files.h"
#include "ui/application.h"
#include "ui/services.h"
#include "views/traffic/traffic_rows.h"

namespace {

constexpr int bar_height = 28;
constexpr int data_col = 5;
// Reads and writes cut per tick while the page shows: a few milliseconds' work,
// so a page shown after a long while catches up without stalling the window.
constexpr std::size_t events_per_tick = 100000;
const char* const headers[] = {"Time", "Dir", "Gap", "Reply", "Length", "Data"};
const int widths[] = {84, 28, 72, 92, 48, 4000};

const RxStore* store_of(const SerialLink& link)
{
    const RxStore* store = nullptr;
    link.rx_store_info(&store);
    return store;
}

}  // namespace

TrafficPage::TrafficPage(ui::Control* sheet, const SerialLink& link, Host host)
    : Ptraffic(sheet, "Ptraffic"), DGtraffic(sheet, "DGtraffic"), sheet_(sheet), link_(link), host_(std::move(host))
{
    Ptraffic.set_bevel_outer(ui::BevelCut::None);
    DGtraffic.set_col_count(6);
    DGtraffic.set_fixed_cols(0);
    DGtraffic.set_fixed_rows(1);
    DGtraffic.set_row_count(2);
    DGtraffic.set_default_row_height(16);
    DGtraffic.set_grid_lines(false);
    DGtraffic.set_double_buffered(true);
    for (int c = 0; c < 6; ++c) DGtraffic.set_col_width(c, widths[c]);
    ui::Font font;
    font.name = "Courier New";
    font.points = 9;
    DGtraffic.set_font(font);
    DGtraffic.on_draw_cell = [this](ui::Canvas& c, std::int32_t col, std::int32_t row, const ui::Rect& r,
                                    ui::GridDrawState s) { draw_cell(c, col, row, r, s); };
    DGtraffic.on_click = [this] { grid_moved(); };
    DGtraffic.on_key_down = [this](ui::KeyEvent& e) { key_down(e); };
    EtrGap.set_max_length(5);
    EtrGap.on_change = [this] { gap_changed(); };
    EtrGap.on_exit = [this] { gap_done(); };
    CBtrLines.on_click = [this] { rules_changed(); };
    CBtrHex.on_click = [this] { DGtraffic.invalidate(); };
    BtnTrCsv.on_click = [this] { save_csv(); };
    TimerTraffic.on_timer = [this] {
        if (DGtraffic.showing()) refresh();
    };
    ui::set_up_csv_save(SDtraffic);
    lay_out();
}

void TrafficPage::lay_out()
{
    const ui::Rect page = sheet_->client_rect();
    Ptraffic.set_bounds(0, 0, page.width(), bar_height);
    Ptraffic.set_anchors(ui::Anchors{true, true, true, false});
    LtrGap.set_bounds(8, 7, 84, 16);
    EtrGap.set_bounds(94, 4, 44, 21);
    CBtrLines.set_bounds(148, 5, 124, 18);
    CBtrHex.set_bounds(278, 5, 44, 18);
    BtnTrCsv.set_bounds(328, 2, 96, 24);
    LtrReply.set_bounds(434, 7, std::max(page.width() - 440, 100), 16);
    DGtraffic.set_bounds(0, bar_height, page.width(), std::max(page.height() - bar_height, 0));
    DGtraffic.set_anchors(ui::Anchors{true, true, true, true});
}

FrameRules TrafficPage::rules() const
{
    FrameRules r;
    r.gap_ms = gap_ms_;
    r.split_lines = CBtrLines.checked();
    r.line_break = host_.line_break ? host_.line_break() : 0;
    return r;
}

void TrafficPage::rules_changed()
{
    frames_.set_rules(rules());
    anchor_ = 0;
    shown_rows_ = 0;
    if (DGtraffic.showing()) refresh();
}

void TrafficPage::gap_changed()
{
    // Taken as typed; out-of-range values count clamped and are written back on leaving.
    const std::string& t = EtrGap.text();
    std::int32_t v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size()) return;
    gap_ms_ = clamp_frame_gap(v);
    rules_changed();
}

void TrafficPage::gap_done()
{
    EtrGap.set_text(std::to_string(gap_ms_));
}

void TrafficPage::refresh(bool all)
{
    // The line-break mode may have changed on the Text page meanwhile.
    if (CBtrLines.checked() && !(rules() == frames_.rules())) rules_changed();
    const RxStore* store = store_of(link_);
    frames_.update(link_.traffic(), store ? store->data : nullptr, all ? SIZE_MAX : events_per_tick);
    const std::size_t rows = frames_.size();
    if (rows < shown_rows_) anchor_ = 0;  // cleared, or cut again
    if (rows != shown_rows_ || all) {
        const bool at_end = DGtraffic.row() + 1 >= DGtraffic.row_count();
        DGtraffic.set_row_count(std::int32_t(std::min<std::size_t>(rows, ui::GridNav::kMaxRows - 1)) + 1);
        if (rows > 0 && (host_.follow ? host_.follow() : at_end)) DGtraffic.set_row(DGtraffic.row_count() - 1);
        shown_rows_ = rows;
        DGtraffic.invalidate();
    }
    show_summary();
}

void TrafficPage::show_summary()
{
    const ReplyStats s = frames_.reply_stats();
    std::string text = "reply: none";
    if (s.count > 0)
        text = "reply: " + std::to_string(s.count) + traffic_ms_text(", min ", s.min_us, 1, " ms") +
               traffic_ms_text(", median ", s.median_us, 1, " ms") + traffic_ms_text(", max ", s.max_us, 1, " ms");
    const std::int64_t dropped = link_.traffic().tx_dropped();
    if (dropped > 0) text += "; TX dropped: " + std::to_string(dropped) + " B";
    if (text != LtrReply.caption()) LtrReply.set_caption(text);
}

TrafficSettings TrafficPage::settings() const
{
    return TrafficSettings{gap_ms_, CBtrLines.checked(), CBtrHex.checked()};
}

void TrafficPage::apply(const TrafficSettings& s)
{
    gap_ms_ = clamp_frame_gap(s.frame_gap_ms);
    EtrGap.set_text(std::to_string(gap_ms_));
    CBtrLines.set_checked(s.split_lines);
    CBtrHex.set_checked(s.hex);
    rules_changed();
}

// ------------------------------------------------------------- rows

std::string TrafficPage::cell_text(std::size_t i, std::int32_t col) const
{
    const TrafficFrame& f = frames_[i];
    const TrafficRecord& record = link_.traffic();
    switch (col) {
        case 0:
            return traffic_time_text(record.time_of_day_ms(f.start_us));
        case 1:
            return f.dir == TrafficDir::tx ? "TX" : "RX";
        case 2: {
            const std::int64_t gap = frames_.gap_us(i);
            return gap >= 0 ? traffic_ms_text("+", gap, 1, " ms") : std::string(f.continuation ? "..." : "");
        }
        case 3: {
            const std::int64_t reply = frames_.reply_us(i);
            return reply >= 0 ? traffic_ms_text("reply ", reply, 1, " ms") : std::string();
        }
        case 4:
            return std::to_string(f.length);
        default: {
            if (f.file) return traffic_file_text(f, record);
            std::string bytes, out;
            traffic_frame_bytes(f, store_of(link_), record, bytes);
            const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
            if (CBtrHex.checked())
                traffic_hex_of(data, bytes.size(), out);
            else
                traffic_text_of(data, bytes.size(), out);
            return out;
        }
    }
}

std::string TrafficPage::row_text(std::size_t i) const
{
    std::string out;
    for (std::int32_t c = 0; c < 6; ++c) {
        if (c) out += '\t';
        out += cell_text(i, c);
    }
    return out;
}

void TrafficPage::draw_cell(ui::Canvas& c, std::int32_t col, std::int32_t row, const ui::Rect& r, ui::GridDrawState s)
{
    c.font = DGtraffic.font();
    if (s.fixed) {
        c.brush = ui::Brush{ui::colors::btn_face};
        c.fill_rect(r);
        c.text_rect(r, ui::Point{r.left + 3, r.top + 1}, headers[col]);
        return;
    }
    const std::size_t i = std::size_t(row - 1);
    const bool selected = i < frames_.size() && i >= selection_first() && i <= selection_last();
    c.brush = ui::Brush{selected ? ui::colors::highlight : ui::colors::window};
    c.fill_rect(r);
    if (i >= frames_.size()) return;
    const bool tx = frames_[i].dir == TrafficDir::tx;
    c.font.color = selected ? ui::colors::highlight_text : tx ? tx_color : rx_color;
    const std::string text = cell_text(i, col);
    c.text_rect(r, ui::Point{r.left + 3, r.top + 1}, text);
}

// ------------------------------------------------------------- selection

std::size_t TrafficPage::selection_first() const
{
    return std::min(anchor_, std::size_t(std::max(DGtraffic.row() - 1, 0)));
}

std::size_t TrafficPage::selection_last() const
{
    return std::max(anchor_, std::size_t(std::max(DGtraffic.row() - 1, 0)));
}

void TrafficPage::grid_moved()
{
    // Shift held: the selection grows from where it was anchored.
    if (!ui::shift_down()) anchor_ = std::size_t(std::max(DGtraffic.row() - 1, 0));
    DGtraffic.invalidate();
}

void TrafficPage::key_down(ui::KeyEvent& e)
{
    if (e.shift.ctrl && (e.key == 'C' || e.key == 'c')) {
        copy_selection();
        e.handled = true;
    }
}

void TrafficPage::copy_selection() const
{
    if (frames_.size() == 0) return;
    std::string text;
    const std::size_t last = std::min(selection_last(), frames_.size() - 1);
    for (std::size_t i = selection_first(); i <= last; ++i) {
        text += row_text(i);
        text += "\r\n";
    }
    ui::set_clipboard_text(text);
}

// ------------------------------------------------------------- export

void TrafficPage::save_csv()
{
    refresh(true);  // every frame so far, however far the page's own cutting has got
    if (!SDtraffic.execute(DGtraffic.form())) return;
    const std::string path = SDtraffic.file_name;
    FileWriter out;
    int error = out.open(path);
    std::string what = "Cannot create file \"" + path + "\".";
    if (error == 0) {
        what = "Writing file \"" + path + "\" failed.";
        const RxStore* store = store_of(link_);
        std::string chunk = traffic_csv_header();
        // In pieces, so a million frames never need one string of their own size.
        for (std::size_t i = 0; i < frames_.size() && error == 0; ++i) {
            traffic_csv_row(frames_, i, store, link_.traffic(), chunk);
            if (chunk.size() >= 65536) {
                error = out.write(chunk.data(), chunk.size());
                chunk.clear();
            }
        }
        if (error == 0 && !chunk.empty()) error = out.write(chunk.data(), chunk.size());
        const int closed = out.close();
        if (error == 0) error = closed;
    }
    if (error != 0) {
        ui::message_box(what + " " + file_error_text(error), ui::app().title(), ui::MsgIcon::Error, ui::MsgButtons::Ok,
                        DGtraffic.form());
        return;
    }
    SDtraffic.initial_dir = folder_of(path);
}
