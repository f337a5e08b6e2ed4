// The text view's lines read back from the received data store (see text_view_sink.h).
#include "views/text/text_view_sink.h"

#include <algorithm>

#include "link/ansi_escape.h"

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
    if (next_style_ != last_style_) {
        style_changes_.push_back(std::uint64_t(starts_.size()) << 32 | next_style_);
        last_style_ = next_style_;
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
    style_changes_.clear();
    next_style_ = last_style_ = 0;
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
        marks_.push_back(reached - 1);  // the byte where that character begins
    }
    const std::size_t k = std::min(want, marks_.size() - 1);
    skip -= k * mark_step;
    return marks_[k];
}

void TextViewSink::copy(std::size_t line, std::size_t from, std::size_t n, char* out) const
{
    read(line, from, n, out, nullptr);
}

void TextViewSink::copy_wide(std::size_t line, std::size_t from, std::size_t n, char32_t* out) const
{
    read(line, from, n, nullptr, out);
}

void TextViewSink::read(std::size_t line, std::size_t from, std::size_t n, char* out, char32_t* wide) const
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
                for (std::size_t i = 0; i < done; ++i) {
                    if (out) out[i] = text[from + i];
                    if (wide) wide[i] = char32_t(static_cast<unsigned char>(text[from + i]));
                }
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
            done += text_->render(store_->data, start + std::int32_t(skip), to, 0, n - done, out ? out + done : nullptr,
                                  nullptr, {}, nullptr, wide ? wide + done : nullptr);
        } else if (done < n) {
            const std::int32_t from_mark = mark_before(line, start, to, skip);
            done += text_->render(store_->data, from_mark, to, skip, n - done, out ? out + done : nullptr, nullptr, {},
                                  nullptr, wide ? wide + done : nullptr);
        }
    }
    // A line the store no longer holds (it is being cleared) shows blank.
    if (out) std::fill(out + done, out + n, ' ');
    if (wide) std::fill(wide + done, wide + n, U' ');
}

std::uint32_t TextViewSink::style_at_start(std::size_t line) const
{
    // The last change at or before the line.
    std::size_t lo = 0, hi = style_changes_.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if ((style_changes_[mid] >> 32) <= line)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo == 0 ? 0 : std::uint32_t(style_changes_[lo - 1]);
}

bool TextViewSink::styles(std::size_t line, std::size_t from, std::size_t n, std::uint32_t* out) const
{
    if (!store_ || !text_ || !text_->ansi() || !store_->data || line >= starts_.size()) return false;
    std::fill(out, out + n, 0u);
    const std::int32_t held = std::min(text_->converted(), store_->length);
    const std::int32_t to = std::min(line + 1 < starts_.size() ? line_start(line + 1) : held, held);
    const std::int32_t start = std::min(line_start(line), to);
    const std::size_t stamp = stamp_of(line);
    const std::size_t body_from = from > stamp ? from - stamp : 0;
    const std::size_t skipped = from < stamp ? std::min(n, stamp - from) : 0;  // a time stamp has no colours
    if (skipped < n)
        text_->render(store_->data, start, to, body_from, n - skipped, nullptr, nullptr,
                      AnsiStyle::unpacked(style_at_start(line)), out + skipped);
    return true;
}

std::size_t TextViewSink::chars_before(std::size_t line, std::int32_t pos) const
{
    if (!store_ || !text_ || !store_->data || line >= starts_.size()) return 0;
    const std::int32_t start = line_start(line);
    if (pos <= start) return 0;
    return text_->render(store_->data, start, std::min(pos, store_->length), 0, std::size_t(-1), nullptr);
}

ui::LineSource::Look TextViewSink::look(std::uint32_t packed) const
{
    const AnsiStyle s = AnsiStyle::unpacked(packed);
    auto colour = [](std::uint8_t index) {
        const std::uint32_t rgb = ansi_palette_rgb(index);
        return ui::Color::rgb(std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb));
    };
    Look out;
    out.own_fg = (s.flags & AnsiStyle::fg_set) != 0;
    out.own_bg = (s.flags & AnsiStyle::bg_set) != 0;
    if (out.own_fg) out.fg = colour(s.fg);
    if (out.own_bg) out.bg = colour(s.bg);
    if (s.flags & AnsiStyle::faint) {
        // Halfway to the white page the view draws on.
        const ui::Color c = out.own_fg ? out.fg : ui::colors::black;
        out.fg = ui::Color::rgb(std::uint8_t((c.r() + 255) / 2), std::uint8_t((c.g() + 255) / 2),
                                std::uint8_t((c.b() + 255) / 2));
        out.own_fg = true;
    }
    if (s.flags & AnsiStyle::reverse) {
        const ui::Color fg = out.own_fg ? out.fg : ui::colors::window_text;
        out.fg = out.own_bg ? out.bg : ui::colors::window;
        out.bg = fg;
        out.own_fg = out.own_bg = true;
    }
    out.bold = (s.flags & AnsiStyle::bold) != 0;
    out.italic = (s.flags & AnsiStyle::italic) != 0;
    out.underline = (s.flags & AnsiStyle::underline) != 0;
    return out;
}

void TextViewSink::raw_line(std::size_t line, std::string& out) const
{
    out.clear();
    if (!store_ || !text_ || !store_->data || line >= starts_.size()) return;
    const std::int32_t held = std::min(text_->converted(), store_->length);
    const std::int32_t to = std::min(line + 1 < starts_.size() ? line_start(line + 1) : held, held);
    const std::int32_t start = std::min(line_start(line), to);
    if (line_stamped(line)) {
        out.resize(std::size_t(rx_text_stamp_length));
        text_->stamp_of(start, out.data());
    }
    out.append(reinterpret_cast<const char*>(store_->data) + start, std::size_t(to - start));
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\x1b' && c != '\t') c = ' ';
}
