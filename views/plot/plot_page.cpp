// The Plot page: its controls, the feed from the text view, the mouse and the
// export. Painting is in plot_page_draw.cpp.
#include "views/plot/plot_page.h"

#include <algorithm>
#include <cmath>

#include "platform/files.h"
#include "ui/application.h"
#include "ui/services.h"
#include "views/plot/plot_export.h"

namespace {

constexpr int bar_height = 48;
constexpr int drag_threshold = 3;  // pixels the pointer moves before a press is a drag

}  // namespace

PlotPage::PlotPage(ui::Control* sheet, const ui::TextView& text)
    : Pplot(sheet, "Pplot"), PBplot(sheet, "PBplot"), sheet_(sheet), text_(text), boxes_{&CBplotS1, &CBplotS2,
                                                                                         &CBplotS3, &CBplotS4,
                                                                                         &CBplotS5, &CBplotS6,
                                                                                         &CBplotS7, &CBplotS8}
{
    Pplot.set_bevel_outer(ui::BevelCut::None);
    for (ui::CheckBox* b : boxes_) {
        b->set_checked(true);
        b->set_visible(false);
        b->on_click = [this] {
            show_status();
            PBplot.invalidate();
        };
    }
    TimerPlot.on_timer = [this] { feed(PBplot.showing() ? 5 : 0); };
    CBplotPause.on_click = [this] { pause_clicked(); };
    CBplotOwn.on_click = [this] { PBplot.invalidate(); };
    BtnPlotCsv.on_click = [this] { export_csv(); };
    PBplot.set_color(ui::colors::white);
    PBplot.set_focusable(true);
    PBplot.set_double_buffered(true);
    PBplot.on_paint = [this](ui::Canvas& c) { paint(c); };
    PBplot.on_mouse_wheel = [this](int delta, ui::Point at) { wheel(delta, at); };
    PBplot.on_mouse_down = [this](const ui::MouseEvent& e) { mouse_down(e); };
    PBplot.on_mouse_move = [this](const ui::MouseEvent& e) { mouse_move(e); };
    PBplot.on_mouse_up = [this](const ui::MouseEvent& e) { mouse_up(e); };
    ui::set_up_csv_save(SDplot);
    lay_out();
}

void PlotPage::lay_out()
{
    const ui::Rect page = sheet_->client_rect();
    Pplot.set_bounds(0, 0, page.width(), bar_height);
    Pplot.set_anchors(ui::Anchors{true, true, true, false});
    CBplotPause.set_bounds(8, 4, 60, 18);
    CBplotOwn.set_bounds(76, 4, 80, 18);
    BtnPlotCsv.set_bounds(164, 2, 90, 22);
    LplotStatus.set_bounds(266, 6, 300, 16);
    for (std::size_t i = 0; i < boxes_.size(); ++i) boxes_[i]->set_bounds(8 + int(i) * 96, 26, 92, 18);
    PBplot.set_bounds(0, bar_height, page.width(), std::max(page.height() - bar_height, 0));
    PBplot.set_anchors(ui::Anchors{true, true, true, true});
}

PlotSettings PlotPage::settings() const
{
    PlotSettings s;
    s.own_scale = CBplotOwn.checked();
    s.shown_series = 0;
    for (int i = 0; i < plot_max_series; ++i)
        if (series_shown(i)) s.shown_series = std::uint8_t(s.shown_series | 1u << i);
    return s;
}

void PlotPage::apply(const PlotSettings& s)
{
    CBplotOwn.set_checked(s.own_scale);
    for (int i = 0; i < plot_max_series; ++i) boxes_[std::size_t(i)]->set_checked(s.shown_series >> i & 1);
    PBplot.invalidate();
}

void PlotPage::restart()
{
    parser_.clear();
    table_.clear();
    for (std::string& t : last_text_) t.clear();
    next_line_ = 0;
    skipped_ = refused_ = 0;
    time_axis_ = false;
    last_stamp_ = 0;
    day_offset_ = 0;
    has_cursor_ = false;
    // The zoom and the pan belong to the data they were set on.
    span_ = 0;
    pressed_ = dragging_ = false;
    group_row_ = 0;
    frozen_ = Window{};
    generation_ = text_.lines().generation();
    show_series_boxes();
}

void PlotPage::feed(std::uint32_t budget_ms)
{
    const std::uint32_t start = ui::tick_count_ms();
    const ui::TextLines& lines = text_.lines();
    // The view was emptied (a clear, a rebuild): what was plotted is gone from it too.
    if (lines.generation() != generation_ || lines.count() < next_line_) restart();
    // The last line stays open for the next drain: it is parsed once a line follows it.
    const std::size_t complete = lines.count() > 0 ? lines.count() - 1 : 0;
    const std::size_t rows_before = table_.rows(), names_before = parser_.names().size();
    for (; next_line_ < complete; ++next_line_) {
        if (next_line_ % 64 == 0 && ui::tick_count_ms() - start >= budget_ms) break;
        take_line(next_line_);
    }
    if (parser_.names().size() != names_before) show_series_boxes();
    show_status();
    if (table_.rows() != rows_before && !CBplotPause.checked() && PBplot.showing()) PBplot.invalidate();
}

void PlotPage::take_line(std::size_t index)
{
    const ui::TextLines& lines = text_.lines();
    if (line_reader) {
        line_reader(index, line_);
    } else {
        line_.resize(lines.length(index));
        lines.copy(index, 0, line_.size(), line_.data());
    }
    PlotLine& parsed = parsed_;
    if (!parser_.parse(line_, parsed)) {
        // A blank line (a CR LF in "CR or LF" mode) is no reading that went missing.
        if (line_.find_first_not_of(" \t") != std::string::npos && !(parsed.stamped && line_.size() <= 13)) ++skipped_;
        return;
    }
    const std::uint32_t number = std::uint32_t(index + 1);
    if (table_.rows() == 0) time_axis_ = parsed.stamped;
    double x = number;
    if (time_axis_) {
        x = table_.rows() > 0 ? table_.x(table_.rows() - 1) : 0;
        if (parsed.stamped) {
            // Past midnight the time of day starts again; the axis goes on.
            if (parsed.stamp_ms + 12u * 3600u * 1000u < last_stamp_) day_offset_ += 86400.0;
            last_stamp_ = parsed.stamp_ms;
            const double stamp = day_offset_ + parsed.stamp_ms / 1000.0;
            if (stamp > x) {
                spread(stamp);
                x = stamp;
            }
        }
    }
    if (!table_.add(number, x, parsed)) {
        ++refused_;
        return;
    }
    for (int s = 0; s < plot_max_series; ++s)
        if (parsed.present >> s & 1) last_text_[std::size_t(s)].assign(parsed.texts[std::size_t(s)]);
}

void PlotPage::spread(double next)
{
    // Lines drained together share one stamp; until their own read times are
    // known they are spread evenly up to the next stamp, so a fast wave stays a wave.
    const std::size_t rows = table_.rows();
    if (rows > group_row_ + 1) {
        const double from = table_.x(group_row_), step = (next - from) / double(rows - group_row_);
        for (std::size_t r = group_row_ + 1; r < rows; ++r) table_.set_x(r, from + step * double(r - group_row_));
    }
    group_row_ = rows;
}

void PlotPage::show_status()
{
    std::string status = "skipped: " + std::to_string(skipped_) + " lines";
    if (parser_.extra_series() > 0) {
        int drawn = 0;
        for (int s = 0; s < plot_max_series; ++s) drawn += series_shown(s) ? 1 : 0;
        status += ", " + std::to_string(parser_.names().size()) + " series, " + std::to_string(drawn) + " drawn";
    }
    if (refused_ > 0) status += ", table full: " + std::to_string(refused_) + " lines not kept";
    if (LplotStatus.caption() != status) LplotStatus.set_caption(status);
}

void PlotPage::show_series_boxes()
{
    const std::vector<std::string>& names = parser_.names();
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i]->set_visible(i < names.size());
        if (i < names.size() && boxes_[i]->caption() != names[i]) boxes_[i]->set_caption(names[i]);
    }
}

void PlotPage::pause_clicked()
{
    // Pausing freezes what is on screen; resuming follows the newest rows again.
    if (CBplotPause.checked()) frozen_ = following_window();
    PBplot.invalidate();
}

PlotPage::Window PlotPage::window() const
{
    return CBplotPause.checked() ? frozen_ : following_window();
}

PlotPage::Window PlotPage::following_window() const
{
    if (table_.rows() == 0) return Window{};
    const double first = table_.x(0), last = table_.x(table_.rows() - 1);
    Window w{first, last};
    if (span_ > 0) w.x0 = last - span_;
    if (w.x1 - w.x0 < 1e-9) w.x0 = w.x1 - 1;
    return w;
}

void PlotPage::wheel(int delta, ui::Point at)
{
    if (table_.rows() == 0) return;
    const Window w = window();
    const double k = std::pow(0.8, delta / 120.0);
    const double full = table_.x(table_.rows() - 1) - table_.x(0);
    const double smallest = time_axis_ ? 0.05 : 4.0;
    const double span = std::max((w.x1 - w.x0) * k, smallest);
    if (CBplotPause.checked()) {
        // The point under the pointer stays under it.
        const double px = x_at(at.x);
        frozen_.x0 = px - (px - w.x0) * (span / (w.x1 - w.x0));
        frozen_.x1 = frozen_.x0 + span;
    } else {
        // Following, the newest row stays at the right edge.
        span_ = span >= full ? 0 : span;
    }
    PBplot.invalidate();
}

void PlotPage::mouse_down(const ui::MouseEvent& e)
{
    if (e.button != ui::MouseButton::Left) return;
    pressed_ = true;
    dragging_ = false;
    press_at_ = e.pos;
    press_window_ = window();
}

void PlotPage::mouse_move(const ui::MouseEvent& e)
{
    if (!pressed_) return;
    if (!dragging_ && std::abs(e.pos.x - press_at_.x) + std::abs(e.pos.y - press_at_.y) < drag_threshold) return;
    dragging_ = true;
    if (!CBplotPause.checked()) return;
    const double per_pixel = (press_window_.x1 - press_window_.x0) / std::max(plot_rect().width(), 1);
    const double shift = (e.pos.x - press_at_.x) * per_pixel;
    frozen_.x0 = press_window_.x0 - shift;
    frozen_.x1 = press_window_.x1 - shift;
    PBplot.invalidate();
}

void PlotPage::mouse_up(const ui::MouseEvent& e)
{
    if (!pressed_ || e.button != ui::MouseButton::Left) return;
    pressed_ = false;
    if (dragging_) return;
    // A click without a drag puts the cursor there.
    has_cursor_ = table_.rows() > 0;
    cursor_x_ = x_at(e.pos.x);
    PBplot.invalidate();
}

std::string PlotPage::cursor_text() const
{
    if (!has_cursor_ || table_.rows() == 0) return {};
    // The row nearest the cursor.
    std::size_t row = table_.row_at_x(cursor_x_);
    if (row == table_.rows() || (row > 0 && cursor_x_ - table_.x(row - 1) < table_.x(row) - cursor_x_)) --row;
    std::string out = "line " + std::to_string(table_.line_number(row));
    std::string scratch;
    const std::vector<std::string_view> texts = table_.texts(row, scratch);
    std::size_t next = 0;
    for (int s = 0; s < table_.series_count(); ++s) {
        if (!table_.has(s, row)) continue;
        const std::string_view t = texts[next++];
        if (series_shown(s)) out += "  " + parser_.names()[std::size_t(s)] + "=" + std::string(t);
    }
    return out;
}

void PlotPage::export_csv()
{
    feed();  // every line so far, however far the page's own feeding has got
    if (!SDplot.execute(PBplot.form())) return;
    const std::string path = SDplot.file_name;
    FileWriter out;
    int error = out.open(path);
    std::string what = "Cannot create file \"" + path + "\".";
    if (error == 0) {
        what = "Writing file \"" + path + "\" failed.";
        std::string chunk = plot_csv_header(parser_.names());
        const int series = int(parser_.names().size());
        // In pieces, so a million rows never need one string of their own size.
        for (std::size_t r = 0; r < table_.rows() && error == 0; r += 4096) {
            plot_csv_rows(table_, series, r, r + 4096, chunk);
            error = out.write(chunk.data(), chunk.size());
            chunk.clear();
        }
        if (error == 0 && !chunk.empty()) error = out.write(chunk.data(), chunk.size());
        const int closed = out.close();
        if (error == 0) error = closed;
    }
    if (error != 0) {
        ui::message_box(what + " " + file_error_text(error), ui::app().title(), ui::MsgIcon::Error, ui::MsgButtons::Ok,
                        PBplot.form());
        return;
    }
    SDplot.initial_dir = folder_of(path);
}
