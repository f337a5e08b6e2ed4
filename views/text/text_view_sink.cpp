// The text view's lines read back from the received data store (see text_view_sink.h).
#include "views/text/text_view_sink.h"

#include <algorithm>
#include <cstring>

TextViewSink::TextViewSink(ui::TextView& view) : view_(view)
{
    view_.set_line_source(this);
}

TextViewSink::~TextViewSink()
{
    view_.set_line_source(nullptr);
}

void TextViewSink::add_line(std::string_view text)
{
    // The line before is finished: its length now follows from where this one starts.
    if (!starts_.empty()) {
        const std::size_t last = starts_.size() - 1;
        const std::int64_t bytes = std::int64_t(next_start_) - line_start(last);
        const std::int64_t shown = std::int64_t(last_length_ - stamp_of(last));
        const std::int32_t left = std::int32_t(std::max<std::int64_t>(bytes - shown, 0));
        if (left >= counted_elsewhere) many_left_out_.emplace_back(last, left);
        left_out_.push_back(std::uint8_t(std::min<std::int32_t>(left, counted_elsewhere)));
    }
    starts_.push_back(std::uint32_t(next_start_));
    last_length_ = 0;
    set_last_length(text.size());
}

void TextViewSink::replace_last_line(std::string_view text)
{
    if (starts_.empty()) return add_line(text);
    set_last_length(text.size());
}

void TextViewSink::append_to_last_line(std::string_view text)
{
    if (starts_.empty()) return add_line(text);
    set_last_length(last_length_ + text.size());
}

void TextViewSink::set_last_length(std::size_t length)
{
    total_ = total_ - last_length_ + length;
    last_length_ = length;
    longest_ = std::max(longest_, length);
    view_.lines_changed();
}

void TextViewSink::clear()
{
    starts_.clear();
    left_out_.clear();
    many_left_out_.clear();
    many_left_out_.shrink_to_fit();
    marks_.clear();
    next_start_ = 0;
    last_length_ = 0;
    total_ = 0;
    longest_ = 0;
    view_.clear();
}

void TextViewSink::last_line_stamped()
{
    if (!starts_.empty()) starts_[starts_.size() - 1] |= stamped_bit;
}

void TextViewSink::converted_from(const RxStore& store, const RxText& text)
{
    store_ = &store;
    text_ = &text;
}

std::size_t TextViewSink::length(std::size_t line) const
{
    if (line + 1 >= starts_.size()) return last_length_;
    std::int32_t left = left_out_[line];
    if (left == counted_elsewhere) {
        auto it = std::lower_bound(many_left_out_.begin(), many_left_out_.end(), std::make_pair(line, std::int32_t(0)));
        left = it->second;
    }
    return std::size_t(line_start(line + 1) - line_start(line) - left) + stamp_of(line);
}

std::int32_t TextViewSink::mark_before(std::size_t line, std::int32_t start, std::int32_t to, std::size_t& skip) const
{
    if (skip < mark_step) return start;
    if (marks_.empty() || marks_line_ != line || marks_.front() != start) {
        marks_line_ = line;
        marks_.assign(1, start);
    }
    const std::size_t want = skip / mark_step;
    while (marks_.size() <= want) {
        char c;
        std::int32_t reached = 0;
        if (text_->render(store_->data, marks_.back(), to, mark_step, 1, &c, &reached) == 0) break;
        marks_.push_back(reached - 1);  // the byte that shows that character
    }
    const std::size_t k = std::min(want, marks_.size() - 1);
    skip -= k * mark_step;
    return marks_[k];
}

void TextViewSink::copy(std::size_t line, std::size_t from, std::size_t n, char* out) const
{
    std::size_t done = 0;
    if (store_ && text_ && store_->data && line < starts_.size()) {
        const std::int32_t held = std::min(text_->converted(), store_->length);
        const std::int32_t to = std::min(line + 1 < starts_.size() ? line_start(line + 1) : held, held);
        const std::int32_t start = std::min(line_start(line), to);
        const std::size_t stamp = stamp_of(line);
        if (stamp) {
            char text[rx_text_stamp_length];
            text_->stamp_of(start, text);
            if (from < stamp) {
                done = std::min(n, stamp - from);
                std::memcpy(out, text + from, done);
            }
        }
        const std::size_t shown = length(line);
        std::size_t skip = from + done - stamp;
        const std::size_t body = shown - std::min(shown, stamp);
        // Usually only the line break is left out of a line: when every byte left
        // out is a CR or LF at its end, a column is a byte offset, and a row far
        // along a long line is found without reading up to it.
        const std::size_t left_out = std::size_t(to - start) - std::min(body, std::size_t(to - start));
        bool direct = std::size_t(to - start) == body + left_out && skip <= body;
        for (std::size_t i = 0; direct && i < left_out; ++i) {
            const std::uint8_t b = store_->data[std::size_t(to) - 1 - i];
            direct = b == '\r' || b == '\n';
        }
        if (done < n && direct) {
            done += text_->render(store_->data, start + std::int32_t(skip), to, 0, n - done, out + done);
        } else if (done < n) {
            const std::int32_t from_mark = mark_before(line, start, to, skip);
            done += text_->render(store_->data, from_mark, to, skip, n - done, out + done);
        }
    }
    // A line the store no longer holds (it is being cleared) shows blank.
    std::fill(out + done, out + n, ' ');
}
