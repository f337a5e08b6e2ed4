// The text view's lines read back from the received data store (see text_view_sink.h).
#include "views/text_view_sink.h"

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

void TextViewSink::clear()
{
    view_.clear();
    starts_.clear();
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

void TextViewSink::copy(std::size_t line, std::size_t from, std::size_t n, char* out) const
{
    std::size_t done = 0;
    const std::size_t length = view_.lines().length(line);
    if (store_ && text_ && store_->data && line < starts_.size()) {
        const std::int32_t held = std::min(text_->converted(), store_->length);
        const std::int32_t to = std::min(line + 1 < starts_.size() ? line_start(line + 1) : held, held);
        const std::int32_t start = std::min(line_start(line), to);
        std::size_t stamp = 0;
        if (line_stamped(line)) {
            stamp = std::size_t(rx_text_stamp_length);
            char text[rx_text_stamp_length];
            text_->stamp_of(start, text);
            if (from < stamp) {
                done = std::min(n, stamp - from);
                std::memcpy(out, text + from, done);
            }
        }
        const std::size_t skip = from + done - stamp;
        const std::size_t body = length - std::min(length, stamp);
        // Usually only the line break is left out of a line: when every byte left
        // out is a CR or LF at its end, a column is a byte offset, and a row far
        // along a long line is found without reading up to it.
        const std::size_t left_out = std::size_t(to - start) - std::min(body, std::size_t(to - start));
        bool direct = std::size_t(to - start) == body + left_out && skip <= body;
        for (std::size_t i = 0; direct && i < left_out; ++i) {
            const std::uint8_t b = store_->data[std::size_t(to) - 1 - i];
            direct = b == '\r' || b == '\n';
        }
        if (done < n) {
            done += direct ? text_->render(store_->data, start + std::int32_t(skip), to, 0, n - done, out + done)
                           : text_->render(store_->data, start, to, skip, n - done, out + done);
        }
    }
    // A line the store no longer holds (it is being cleared) shows blank.
    std::fill(out + done, out + n, ' ');
}
