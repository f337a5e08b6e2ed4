// The received-text conversion writes into a LineSink; this one is the main
// window's text view, so the conversion reaches the real control. The view
// keeps no characters: they stay in the received data store, and this sink
// turns a line's store bytes back into its text whenever the view paints,
// copies, finds or saves it. Per line it keeps where the line's bytes begin in
// the store (so a store position can be found among the lines) and how many of
// them the line does not show, which gives its length.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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

    // The conversion's text is measured, not kept: the store has it.
    void add_line(std::string_view text) override;
    std::string last_line() const override { return view_.last_line(); }
    void replace_last_line(std::string_view text) override;
    int line_count() const override { return view_.line_count(); }
    void begin_update() override { view_.begin_update(); }
    void end_update() override { view_.end_update(); }
    void clear() override;
    void append_to_last_line(std::string_view text) override;
    void line_starts_at(std::int32_t position) override { next_start_ = position; }
    void line_style(std::uint32_t style) override { next_style_ = style; }
    void last_line_stamped() override;
    void converted_from(const RxStore& store, const RxText& text) override;

    std::size_t count() const override { return starts_.size(); }
    std::size_t length(std::size_t line) const override;
    std::uint64_t char_total() const override { return total_; }
    std::size_t longest_line() const override { return longest_; }
    void copy(std::size_t line, std::size_t from, std::size_t n, char* out) const override;
    // With UTF-8 on: the characters as code points (copy gives '?' above U+00FF).
    bool wide_chars() const override { return text_ && text_->utf8(); }
    void copy_wide(std::size_t line, std::size_t from, std::size_t n, char32_t* out) const override;
    // With colour escapes on: each character's AnsiStyle, read from the line's start.
    bool styles(std::size_t line, std::size_t from, std::size_t n, std::uint32_t* out) const override;
    Look look(std::uint32_t style) const override;
    // Characters the line's store bytes [line_start(line), pos) show after its
    // time stamp, as the conversion showed them.
    std::size_t chars_before(std::size_t line, std::int32_t pos) const;
    // Line i's time stamp and store bytes as received, control bytes but ESC
    // as blanks: what a parser that knows escape sequences reads.
    void raw_line(std::size_t line, std::string& out) const;
    // Whether a line's columns are not its bytes (escapes hidden, UTF-8 read):
    // the conversion itself counts them (chars_before).
    bool columns_counted() const { return text_ && (text_->ansi() || text_->utf8()); }
    // The style in force at line i's first byte (an AnsiStyle, packed).
    std::uint32_t style_at_start(std::size_t line) const;

    ui::TextView& view() const { return view_; }
    // Store position where line i's bytes begin (i below line_starts()).
    std::size_t line_starts() const { return starts_.size(); }
    std::int32_t line_start(std::size_t line) const { return std::int32_t(starts_[line] & ~stamped_bit); }
    bool line_stamped(std::size_t line) const { return (starts_[line] & stamped_bit) != 0; }

 private:
    // Positions stay below 2^31, so the top bit is free to tell a stamped line.
    static constexpr std::uint32_t stamped_bit = 0x80000000u;
    // A line that leaves out this many bytes or more has its count in many_left_out_.
    static constexpr std::uint8_t counted_elsewhere = 255;

    std::size_t stamp_of(std::size_t line) const { return line_stamped(line) ? std::size_t(rx_text_stamp_length) : 0; }
    void set_last_length(std::size_t length);
    // copy and copy_wide: n characters to out or wide or both (either may be null).
    void read(std::size_t line, std::size_t from, std::size_t n, char* out, char32_t* wide) const;
    std::int32_t mark_before(std::size_t line, std::int32_t start, std::int32_t to, std::size_t& skip) const;

    ui::TextView& view_;
    // Pages of 512 KiB: the system takes such blocks back as soon as they are freed.
    ui::PagedArray<std::uint32_t, 17> starts_;
    // Bytes of each finished line that it does not show (its line break, dropped bytes).
    ui::PagedArray<std::uint8_t, 19> left_out_;
    std::vector<std::pair<std::size_t, std::int32_t>> many_left_out_;  // (line, bytes), in line order
    // (line << 32 | style) where a line starts in another style than the line
    // before: most logs reset their colours by the line's end, so this stays short.
    ui::PagedArray<std::uint64_t, 14> style_changes_;
    std::uint32_t next_style_ = 0, last_style_ = 0;
    std::int32_t next_start_ = 0;
    std::size_t last_length_ = 0;  // the open last line's characters, time stamp included
    std::uint64_t total_ = 0;
    std::size_t longest_ = 0;
    const RxStore* store_ = nullptr;
    const RxText* text_ = nullptr;
    // Where every 64 Ki-th character of one long line comes from, for the line
    // whose columns are not byte offsets: rows far along it are found from the
    // nearest mark instead of from the line's start. Kept for the line read last.
    static constexpr std::size_t mark_step = 65536;
    mutable std::size_t marks_line_ = 0;
    mutable std::vector<std::int32_t> marks_;  // store position of body character k * mark_step
};
