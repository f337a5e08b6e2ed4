// The Plot page: the numbers in the text view's lines drawn as series over a
// shared axis of line numbers (or time of day when lines carry time stamps),
// with pause, wheel zoom, drag pan, a value cursor and a CSV export.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings/plot_group.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/file_dialog.h"
#include "ui/label.h"
#include "ui/paint_box.h"
#include "ui/panel.h"
#include "ui/text_view.h"
#include "ui/timer.h"
#include "views/plot/plot_parse.h"
#include "views/plot/plot_series.h"

class PlotPage {
 public:
    // The page's controls on its tab sheet; it reads the lines of `text`.
    PlotPage(ui::Control* sheet, const ui::TextView& text);
    PlotPage(const PlotPage&) = delete;
    PlotPage& operator=(const PlotPage&) = delete;

    // Places the controls once the sheet has its size.
    void lay_out();
    // Takes the text view's lines completed since the last call, parsing for
    // about budget_ms at most (the rest waits for the next call); when the view
    // was emptied or rebuilt, starts over.
    void feed(std::uint32_t budget_ms = UINT32_MAX);

    // Reads line i of the text view as the parser takes it; unset, the view's
    // text is read. The main window hands one that leaves escape sequences out.
    std::function<void(std::size_t, std::string&)> line_reader;

    PlotSettings settings() const;
    void apply(const PlotSettings& s);

    // The visible stretch of the axis, and what the cursor shows ("" without one).
    struct Window {
        double x0 = 0, x1 = 1;
    };
    Window window() const;
    std::string cursor_text() const;
    const PlotSeries& table() const { return table_; }
    std::size_t skipped() const { return skipped_; }
    // The series in order of first appearance.
    const std::vector<std::string>& names() const { return parser_.names(); }

    ui::Panel Pplot;
    ui::CheckBox CBplotPause{&Pplot, "CBplotPause", "Pause"};
    ui::CheckBox CBplotOwn{&Pplot, "CBplotOwn", "Own scale"};
    ui::Button BtnPlotCsv{&Pplot, "BtnPlotCsv", "Export CSV..."};
    ui::Label LplotStatus{&Pplot, "LplotStatus", "skipped: 0 lines"};
    // Which series are drawn; each shows once its series has appeared.
    ui::CheckBox CBplotS1{&Pplot, "CBplotS1"}, CBplotS2{&Pplot, "CBplotS2"}, CBplotS3{&Pplot, "CBplotS3"},
        CBplotS4{&Pplot, "CBplotS4"}, CBplotS5{&Pplot, "CBplotS5"}, CBplotS6{&Pplot, "CBplotS6"},
        CBplotS7{&Pplot, "CBplotS7"}, CBplotS8{&Pplot, "CBplotS8"};
    ui::PaintBox PBplot;
    ui::SaveDialog SDplot{"SDplot"};
    // Feeds while the page shows, a tenth of the time at most, so a hidden plot
    // costs the receive path nothing and a shown one never slows it much; the
    // text view keeps every line, so nothing is lost meanwhile.
    ui::Timer TimerPlot{"TimerPlot", 50, true};

 private:
    void restart();
    void take_line(std::size_t index);
    void spread(double next_stamp);
    void show_status();
    void show_series_boxes();
    void pause_clicked();
    Window following_window() const;
    void wheel(int delta, ui::Point at);
    void mouse_down(const ui::MouseEvent& e);
    void mouse_move(const ui::MouseEvent& e);
    void mouse_up(const ui::MouseEvent& e);
    void export_csv();
    bool series_shown(int s) const { return boxes_[std::size_t(s)]->checked(); }

    // Drawing (plot_page_draw.cpp).
    void paint(ui::Canvas& c);
    ui::Rect plot_rect() const;
    double x_at(int px) const;
    PlotSpan value_range(int s, const Window& w) const;

    ui::Control* sheet_;
    const ui::TextView& text_;
    std::array<ui::CheckBox*, plot_max_series> boxes_;

    PlotParser parser_;
    PlotSeries table_;
    std::string line_;  // the line being parsed, reused
    PlotLine parsed_;
    std::array<std::string, plot_max_series> last_text_;
    std::uint32_t generation_ = 0;
    std::size_t next_line_ = 0;  // first text view line not parsed yet
    std::size_t skipped_ = 0;
    std::size_t refused_ = 0;  // readings the full table could not keep
    bool time_axis_ = false;   // decided by the first reading
    std::uint32_t last_stamp_ = 0;
    double day_offset_ = 0;
    std::size_t group_row_ = 0;  // the first row of those that share the newest stamp

    // While following, the window ends at the newest row and spans span_
    // (0: everything); while paused it stays where frozen_ says.
    double span_ = 0;
    Window frozen_;
    bool has_cursor_ = false;
    double cursor_x_ = 0;
    bool pressed_ = false, dragging_ = false;
    ui::Point press_at_;
    Window press_window_;
};
