// The Find window's matcher: the anchor byte is looked for a machine word at a
// time, then the pattern is compared where it turns up; the chunk scanner
// copies the source piece by piece with the pattern's length of overlap.
#include "views/find/find_matcher.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

using Word = std::uintptr_t;  // the native word: 4 bytes in the 32-bit product
constexpr Word ones = ~Word(0) / 255;
constexpr Word highs = ones << 7;
constexpr std::ptrdiff_t word = sizeof(Word);
// The first flagged byte of a word is its lowest bit only in little-endian order.
static_assert(std::endian::native == std::endian::little);

// Non-zero exactly when some byte of w is zero.
inline Word zero_byte_in(Word w)
{
    return (w - ones) & ~w & highs;
}

inline Word load(const std::uint8_t* p)
{
    Word w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// The first byte in [p, end) equal to a or b (the same value when one byte is
// wanted). The lowest flagged byte of zero_byte_in() is exact (only bytes above
// a zero byte can be flagged falsely), so a word's first hit is its lowest flag.
const std::uint8_t* find_either(const std::uint8_t* p, const std::uint8_t* end, std::uint8_t a, std::uint8_t b)
{
    const Word wa = ones * a, wb = ones * b;
    const auto flags = [wa, wb](const std::uint8_t* at) {
        const Word w = load(at);
        return zero_byte_in(w ^ wa) | zero_byte_in(w ^ wb);
    };
    while (end - p >= 4 * word) {
        const Word f0 = flags(p), f1 = flags(p + word), f2 = flags(p + 2 * word), f3 = flags(p + 3 * word);
        if (f0 | f1 | f2 | f3) {
            if (f0) return p + std::countr_zero(f0) / 8;
            if (f1) return p + word + std::countr_zero(f1) / 8;
            if (f2) return p + 2 * word + std::countr_zero(f2) / 8;
            return p + 3 * word + std::countr_zero(f3) / 8;
        }
        p += 4 * word;
    }
    while (p < end && *p != a && *p != b) ++p;
    return p;
}

// How often a byte turns up in what serial devices send, roughly: the anchor
// is the pattern byte with the lowest figure, so candidates are few.
int commonness(std::uint8_t b)
{
    static constexpr char english[] = "etaoinshrdlcumwfgypbvkjxqz";
    if (b == ' ') return 100;
    if (b == 0x00 || b == 0xFF) return 90;
    if (b >= 'a' && b <= 'z') return 95 - 2 * int(std::strchr(english, b) - english);
    if (b >= '0' && b <= '9') return 60;
    if (b == '\r' || b == '\n') return 55;
    if (b == '.' || b == ',' || b == ':' || b == '=') return 45;
    if (b == '\t') return 40;
    if (b >= 'A' && b <= 'Z') return 35;
    if (b > 0x20 && b < 0x7F) return 30;
    if (b < 0x20) return 20;
    return 10;
}

}  // namespace

bool MemorySource::copy(std::int32_t pos, std::int32_t count, std::uint8_t* out) const
{
    if (pos < 0 || count < 0 || count > size_ - pos) return false;
    std::memcpy(out, data_ + pos, std::size_t(count));
    return true;
}

Matcher::Matcher(const FindPattern& pattern)
    : length_(pattern.length()), fold_(pattern.fold_case), bytes_(pattern.bytes)
{
    int best = 1 << 30;
    bool all_fixed = true;
    for (std::int32_t i = 0; i < length_; ++i) {
        if (!pattern.fixed[std::size_t(i)]) {
            all_fixed = false;
            continue;
        }
        const std::uint8_t b = bytes_[std::size_t(i)];
        const std::uint8_t upper = (fold_ && b >= 'a' && b <= 'z') ? std::uint8_t(b - ('a' - 'A')) : b;
        const int score = commonness(b) + (upper != b ? commonness(upper) : 0);
        if (score < best) {
            best = score;
            anchor_ = i;
            anchor_a_ = b;
            anchor_b_ = upper;
        }
        checks_.push_back(i);
    }
    plain_ = all_fixed && !fold_;
}

bool Matcher::matches_at(const std::uint8_t* at) const
{
    if (plain_) return std::memcmp(at, bytes_.data(), bytes_.size()) == 0;
    if (fold_) {
        for (std::int32_t i : checks_)
            if (fold_ascii(at[i]) != bytes_[std::size_t(i)]) return false;
        return true;
    }
    for (std::int32_t i : checks_)
        if (at[i] != bytes_[std::size_t(i)]) return false;
    return true;
}

std::int32_t Matcher::first_in(const std::uint8_t* buf, std::int32_t size, std::int32_t from, std::int32_t to) const
{
    to = std::min(to, size - length_ + 1);
    if (from < 0) from = 0;
    if (from >= to) return -1;
    if (anchor_ < 0) return from;  // only "??": every place matches
    const std::uint8_t* p = buf + from + anchor_;
    const std::uint8_t* const end = buf + to + anchor_;
    for (;; ++p) {
        p = find_either(p, end, anchor_a_, anchor_b_);
        if (p == end) return -1;
        if (matches_at(p - anchor_)) return std::int32_t(p - anchor_ - buf);
    }
}

ChunkScanner::ChunkScanner(const ByteSource& source, const Matcher& matcher, const std::atomic<bool>* cancel,
                           std::int32_t chunk)
    : source_(source), matcher_(matcher), cancel_(cancel), chunk_(chunk > 0 ? chunk : find_default_chunk)
{
}

bool ChunkScanner::load(std::int32_t first, std::int32_t starts, std::int32_t limit, std::int32_t& size)
{
    // The last start's whole pattern, but never past the limit.
    const std::int64_t end = std::min<std::int64_t>(std::int64_t(first) + starts + matcher_.length() - 1, limit);
    size = std::int32_t(end - first);
    if (buf_.size() < std::size_t(size)) buf_.resize(std::size_t(chunk_) + std::size_t(matcher_.length()));
    return source_.copy(first, size, buf_.data());
}

FindResult ChunkScanner::next(std::int32_t from, std::int32_t limit)
{
    const std::int32_t last = limit - matcher_.length();  // the last start that fits
    for (std::int32_t a = std::max(from, 0); a <= last;) {
        if (cancelled()) return {ScanEnd::Cancelled, -1};
        const std::int32_t starts = std::int32_t(std::min<std::int64_t>(chunk_, std::int64_t(last) - a + 1));
        std::int32_t size = 0;
        if (!load(a, starts, limit, size)) return {ScanEnd::SourceFailed, -1};
        const std::int32_t hit = matcher_.first_in(buf_.data(), size, 0, starts);
        if (hit >= 0) return {ScanEnd::Done, a + hit};
        a += starts;
    }
    return {ScanEnd::Done, -1};
}

FindResult ChunkScanner::previous(std::int32_t before, std::int32_t limit)
{
    std::int32_t b = std::min(before, limit - matcher_.length() + 1);  // starts below b
    while (b > 0) {
        if (cancelled()) return {ScanEnd::Cancelled, -1};
        const std::int32_t a = std::max(b - chunk_, 0);
        std::int32_t size = 0;
        if (!load(a, b - a, limit, size)) return {ScanEnd::SourceFailed, -1};
        std::int32_t found = -1;
        for (std::int32_t s = matcher_.first_in(buf_.data(), size, 0, b - a); s >= 0;
             s = matcher_.first_in(buf_.data(), size, s + 1, b - a))
            found = s;
        if (found >= 0) return {ScanEnd::Done, a + found};
        b = a;
    }
    return {ScanEnd::Done, -1};
}

ScanEnd ChunkScanner::each(std::int32_t from, std::int32_t limit, const std::function<void(std::int32_t)>& on_hit,
                           const std::function<void(std::int32_t)>& on_covered)
{
    const std::int32_t last = limit - matcher_.length();
    for (std::int32_t a = std::max(from, 0); a <= last;) {
        if (cancelled()) return ScanEnd::Cancelled;
        const std::int32_t starts = std::int32_t(std::min<std::int64_t>(chunk_, std::int64_t(last) - a + 1));
        std::int32_t size = 0;
        if (!load(a, starts, limit, size)) return ScanEnd::SourceFailed;
        for (std::int32_t s = matcher_.first_in(buf_.data(), size, 0, starts); s >= 0;
             s = matcher_.first_in(buf_.data(), size, s + 1, starts))
            on_hit(a + s);
        a += starts;
        if (on_covered && a <= last) on_covered(a + matcher_.length() - 1);
    }
    if (on_covered) on_covered(limit);
    return ScanEnd::Done;
}
