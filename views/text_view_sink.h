// The received-text conversion writes into a LineSink; this one is the main
// window's text view, so the conversion reaches the real control. It also
// keeps where each line's bytes begin in the store, so a store position can
// be found among the lines.
#pragma once

#include <cstdint>

#include "link/line_sink.h"
#include "ui/paged_array.h"
#include "ui/text_view.h"

class TextViewSink final : public LineSink {
 public:
    explicit TextViewSink(ui::TextView& view) : view_(view) {}

    void add_line(std::string_view text) override { view_.add_line(text); }
    std::string last_line() const override { return view_.last_line(); }
    void replace_last_line(std::string_view text) override { view_.replace_last_line(text); }
    int line_count() const override { return view_.line_count(); }
    void begin_update() override { view_.begin_update(); }
    void end_update() override { view_.end_update(); }
    void clear() override
    {
        view_.clear();
        starts_.clear();
    }
    // The view appends in place, so a long line grown piece by piece stays linear.
    void append_to_last_line(std::string_view text) override { view_.append_to_last_line(text); }
    void line_starts_at(std::int32_t position) override { starts_.push_back(position); }

    ui::TextView& view() const { return view_; }
    // Store position where line i's bytes begin (i below line_starts()).
    std::size_t line_starts() const { return starts_.size(); }
    std::int32_t line_start(std::size_t line) const { return starts_[line]; }

 private:
    ui::TextView& view_;
    ui::PagedArray<std::int32_t, 16> starts_;
};
