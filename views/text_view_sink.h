// The received-text conversion writes into a LineSink; this one is the main
// window's text view, so the conversion reaches the real control. The view
// keeps only each line's length: the characters stay in the received data
// store, and this sink turns a line's store bytes back into its text whenever
// the view paints, copies, finds or saves it. It also keeps where each line's
// bytes begin in the store, so a store position can be found among the lines.
#pragma once

#include <cstdint>

#include "link/line_sink.h"
#include "link/rx_store.h"
#include "link/rx_text.h"
#include "ui/line_source.h"
#include "ui/paged_array.h"
#include "ui/text_view.h"

class TextViewSink final : public LineSink, public ui::LineSource {
 public:
    explicit TextViewSink(ui::TextView& view);
    ~TextViewSink() override;
    TextViewSink(const TextViewSink&) = delete;
    TextViewSink& operator=(const TextViewSink&) = delete;

    // The conversion's text is counted, not kept: the store has it.
    void add_line(std::string_view text) override { view_.add_counted_line(text.size()); }
    std::string last_line() const override { return view_.last_line(); }
    void replace_last_line(std::string_view text) override { view_.resize_last_line(text.size()); }
    int line_count() const override { return view_.line_count(); }
    void begin_update() override { view_.begin_update(); }
    void end_update() override { view_.end_update(); }
    void clear() override;
    void append_to_last_line(std::string_view text) override { view_.grow_last_line(text.size()); }
    void line_starts_at(std::int32_t position) override { starts_.push_back(std::uint32_t(position)); }
    void last_line_stamped() override;
    void converted_from(const RxStore& store, const RxText& text) override;

    void copy(std::size_t line, std::size_t from, std::size_t n, char* out) const override;

    ui::TextView& view() const { return view_; }
    // Store position where line i's bytes begin (i below line_starts()).
    std::size_t line_starts() const { return starts_.size(); }
    std::int32_t line_start(std::size_t line) const { return std::int32_t(starts_[line] & ~stamped_bit); }
    bool line_stamped(std::size_t line) const { return (starts_[line] & stamped_bit) != 0; }

 private:
    // Positions stay below 2^31, so the top bit is free to tell a stamped line.
    static constexpr std::uint32_t stamped_bit = 0x80000000u;

    ui::TextView& view_;
    ui::PagedArray<std::uint32_t, 16> starts_;
    const RxStore* store_ = nullptr;
    const RxText* text_ = nullptr;
};
