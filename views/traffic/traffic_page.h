// The Traffic page: both directions of the conversation as frames, one row
// each, with the time of day, direction, gap, reply time, length and data;
// the frame rules above the rows, a summary of the reply times, row selection
// with copy, and a CSV export.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "link/serial_link.h"
#include "link/traffic_frames.h"
#include "settings/traffic_group.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/draw_grid.h"
#include "ui/edit.h"
#include "ui/file_dialog.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/timer.h"

class TrafficPage {
 public:
    // What the host ties the page to: the line-break mode of the Text page (the
    // mark "Split at line breaks" cuts at) and whether drains follow new data.
    struct Host {
        std::function<int()> line_break;
        std::function<bool()> follow;
    };
    // The page's controls on its tab sheet; it reads the link's traffic record.
    TrafficPage(ui::Control* sheet, const SerialLink& link, Host host);
    TrafficPage(const TrafficPage&) = delete;
    TrafficPage& operator=(const TrafficPage&) = delete;

    void lay_out();
    // Cuts what the record gained, within a budget while the page shows, and
    // shows it; TimerTraffic calls it. `all`: everything, whatever it costs.
    void refresh(bool all = false);

    TrafficSettings settings() const;
    void apply(const TrafficSettings& s);

    const TrafficFrames& frames() const { return frames_; }
    // Frame i as the row shows it, columns joined by tabs (as Ctrl+C copies it).
    std::string row_text(std::size_t i) const;
    // The selected frames: from the anchor to the current row.
    std::size_t selection_first() const;
    std::size_t selection_last() const;
    void copy_selection() const;

    ui::Panel Ptraffic;
    ui::Label LtrGap{&Ptraffic, "LtrGap", "Frame gap [ms]:"};
    ui::Edit EtrGap{&Ptraffic, "EtrGap", "20"};
    ui::CheckBox CBtrLines{&Ptraffic, "CBtrLines", "Split at line breaks"};
    ui::CheckBox CBtrHex{&Ptraffic, "CBtrHex", "Hex"};
    ui::Button BtnTrCsv{&Ptraffic, "BtnTrCsv", "Save as CSV..."};
    ui::Label LtrReply{&Ptraffic, "LtrReply", "reply: none"};
    ui::DrawGrid DGtraffic;
    ui::SaveDialog SDtraffic{"SDtraffic"};
    // Cuts while the page shows; hidden, the page costs the receive path
    // nothing and catches up when shown again.
    ui::Timer TimerTraffic{"TimerTraffic", 100, true};

    static constexpr ui::Color tx_color = ui::Color::rgb(176, 0, 0);
    static constexpr ui::Color rx_color = ui::Color::rgb(0, 0, 176);

 private:
    FrameRules rules() const;
    void rules_changed();
    void gap_changed();
    void gap_done();
    void grid_moved();
    void key_down(ui::KeyEvent& e);
    void draw_cell(ui::Canvas& c, std::int32_t col, std::int32_t row, const ui::Rect& r, ui::GridDrawState s);
    std::string cell_text(std::size_t i, std::int32_t col) const;
    void show_summary();
    void save_csv();

    ui::Control* sheet_;
    const SerialLink& link_;
    Host host_;
    TrafficFrames frames_;
    std::int32_t gap_ms_ = frame_gap_default_ms;
    std::size_t anchor_ = 0;
    std::size_t shown_rows_ = 0;
};
