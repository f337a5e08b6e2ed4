// Maps a long logical scroll range (rows of a huge grid or text) onto a scroll bar,
// whose positions are 32-bit ints: ranges above the bar's limit are scaled down.
#pragma once

#include <cstdint>

namespace ui {

class ScrollScale {
 public:
    static constexpr std::int32_t kDefaultLimit = 1 << 30;

    ScrollScale(std::uint64_t max_pos = 0, std::int32_t limit = kDefaultLimit) : max_(max_pos), limit_(limit) {}

    bool scaled() const { return max_ > static_cast<std::uint64_t>(limit_); }
    std::uint64_t max_pos() const { return max_; }
    std::int32_t bar_max() const { return scaled() ? limit_ : static_cast<std::int32_t>(max_); }

    std::int32_t to_bar(std::uint64_t pos) const
    {
        if (pos > max_) pos = max_;
        if (!scaled()) return static_cast<std::int32_t>(pos);
        return static_cast<std::int32_t>(mul_div(pos, limit_, max_));
    }

    // The bar's last position always maps to the last logical position.
    std::uint64_t from_bar(std::int32_t bar) const
    {
        if (bar <= 0) return 0;
        if (bar >= bar_max()) return max_;
        if (!scaled()) return static_cast<std::uint64_t>(bar);
        return mul_div(static_cast<std::uint64_t>(bar), max_, static_cast<std::uint64_t>(limit_));
    }

 private:
    // a * b / c for a logical range below 2^33 and a bar limit up to 2^30.
    static std::uint64_t mul_div(std::uint64_t a, std::uint64_t b, std::uint64_t c)
    {
        return a / c * b + (a % c) * b / c;
    }

    std::uint64_t max_;
    std::int32_t limit_;
};

}  // namespace ui
