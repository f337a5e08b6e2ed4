// The text view's line store (see text_lines.h).
#include "ui/text_lines.h"

#include <algorithm>
#include <stdexcept>

namespace ui {

namespace {
constexpr std::uint64_t kMaxChars = 0xFFFFFFFFu;

// Positions are 32-bit: refuse text that would not fit (in 64-bit sums, so a
// 32-bit size_t cannot wrap around first).
void check_room(std::uint64_t used, std::uint64_t more)
{
    if (used + more > kMaxChars) throw std::length_error("text view holds at most 4 GiB of text");
}
}  // namespace

void TextLines::put(std::string_view text)
{
    check_room(chars_.size(), text.size());
    chars_.append(text.data(), text.size());
    max_length_ = std::max(max_length_, length(count() - 1));
}

void TextLines::add(std::string_view text)
{
    check_room(chars_.size(), text.size());
    starts_.push_back(static_cast<std::uint32_t>(chars_.size()));
    put(text);
}

void TextLines::set_source(const LineSource* source)
{
    clear();
    source_ = source;
}

char TextLines::at(std::size_t line, std::size_t col) const
{
    if (!source_) return chars_[starts_[line] + col];
    char c = ' ';
    source_->copy(line, col, 1, &c);
    return c;
}

std::string TextLines::last() const
{
    return empty() ? std::string() : line(count() - 1);
}

void TextLines::replace_last(std::string_view text)
{
    if (empty()) return add(text);
    std::size_t start = starts_[count() - 1];
    check_room(start, text.size());
    chars_.truncate(start);
    put(text);
}

void TextLines::append_last(std::string_view text)
{
    if (empty()) return add(text);
    put(text);
}

void TextLines::clear()
{
    chars_.clear();
    starts_.clear();
    max_length_ = 0;
    ++generation_;
}

std::size_t TextLines::length(std::size_t line) const
{
    if (source_) return source_->length(line);
    std::size_t end = line + 1 < count() ? starts_[line + 1] : chars_.size();
    return end - starts_[line];
}

std::string TextLines::line(std::size_t line) const
{
    std::string s(length(line), '\0');
    copy(line, 0, s.size(), s.data());
    return s;
}

std::size_t TextLines::copy(std::size_t line, std::size_t from, std::size_t n, char* out) const
{
    std::size_t len = length(line);
    if (from >= len) return 0;
    n = std::min(n, len - from);
    if (source_)
        source_->copy(line, from, n, out);
    else
        chars_.copy_out(starts_[line] + from, n, out);
    return n;
}

std::size_t TextLines::copy_wide(std::size_t line, std::size_t from, std::size_t n, char32_t* out) const
{
    std::size_t len = length(line);
    if (from >= len) return 0;
    n = std::min(n, len - from);
    if (wide()) {
        source_->copy_wide(line, from, n, out);
        return n;
    }
    std::string bytes(n, ' ');
    copy(line, from, n, bytes.data());
    for (std::size_t i = 0; i < n; ++i) out[i] = char32_t(static_cast<unsigned char>(bytes[i]));
    return n;
}

TextPos TextLines::end_pos() const
{
    return empty() ? TextPos{} : TextPos{count() - 1, length(count() - 1)};
}

TextPos TextLines::clamp(TextPos p) const
{
    if (empty()) return {};
    if (p.line >= count()) return end_pos();
    p.col = std::min(p.col, length(p.line));
    return p;
}

std::string TextLines::text(TextPos from, TextPos to, std::size_t limit) const
{
    return text_of<std::string>(from, to, limit);
}

std::u32string TextLines::wide_text(TextPos from, TextPos to) const
{
    return text_of<std::u32string>(from, to, std::u32string::npos);
}

template <class Text>
Text TextLines::text_of(TextPos from, TextPos to, std::size_t limit) const
{
    from = clamp(from);
    to = clamp(to);
    if (to < from) std::swap(from, to);
    Text out;
    if (empty()) return out;
    // Line starts are cumulative, so the size is known without walking the lines;
    // a source's lines are walked.
    std::uint64_t size = std::uint64_t{kBreak.size()} * (to.line - from.line) + to.col;
    if (!source_)
        size += starts_[to.line] - starts_[from.line];
    else
        for (std::size_t ln = from.line; ln < to.line; ++ln) size += length(ln);
    size -= from.col;
    out.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(size, limit)));
    for (std::size_t ln = from.line; ln <= to.line && out.size() < limit; ++ln) {
        if (ln != from.line)
            for (char c : kBreak.substr(0, std::min(kBreak.size(), limit - out.size()))) out.push_back(c);
        std::size_t a = ln == from.line ? from.col : 0;
        std::size_t b = ln == to.line ? to.col : length(ln);
        std::size_t n = std::min(b - a, limit - out.size());
        std::size_t at = out.size();
        out.resize(at + n);
        copy_as(ln, a, n, out.data() + at);
    }
    return out;
}

std::uint64_t TextLines::text_length() const
{
    // In 64 bits: with a 32-bit size_t, billions of empty lines would wrap around.
    return empty() ? 0 : char_count() + std::uint64_t{kBreak.size()} * (count() - 1);
}

}  // namespace ui
