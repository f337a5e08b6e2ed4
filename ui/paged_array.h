// A growable array kept in fixed-size pages, so that hundreds of megabytes never
// need one contiguous block (a 32-bit address space fragments long before that).
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

namespace ui {

template <class T, unsigned PageBits>
class PagedArray {
 public:
    static constexpr std::size_t kPage = std::size_t{1} << PageBits;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    T& operator[](std::size_t i) { return pages_[i >> PageBits][i & (kPage - 1)]; }
    const T& operator[](std::size_t i) const { return pages_[i >> PageBits][i & (kPage - 1)]; }

    void push_back(const T& v)
    {
        reserve_page_for(size_);
        (*this)[size_++] = v;
    }

    // Appends n elements page by page (trivially copyable T only).
    void append(const T* src, std::size_t n)
    {
        while (n > 0) {
            reserve_page_for(size_);
            std::size_t off = size_ & (kPage - 1);
            std::size_t take = kPage - off < n ? kPage - off : n;
            std::memcpy(&pages_[size_ >> PageBits][off], src, take * sizeof(T));
            src += take;
            n -= take;
            size_ += take;
        }
    }

    // Copies n elements starting at from into out; the caller keeps from + n <= size().
    void copy_out(std::size_t from, std::size_t n, T* out) const
    {
        while (n > 0) {
            std::size_t off = from & (kPage - 1);
            std::size_t take = kPage - off < n ? kPage - off : n;
            std::memcpy(out, &pages_[from >> PageBits][off], take * sizeof(T));
            out += take;
            from += take;
            n -= take;
        }
    }

    // Shrinks to n elements; one spare page is kept so a size that swings around a
    // page boundary does not allocate on every swing.
    void truncate(std::size_t n)
    {
        if (n >= size_) return;
        size_ = n;
        std::size_t keep = (n + kPage - 1) / kPage + 1;
        if (pages_.size() > keep) pages_.resize(keep);
    }

    void clear()
    {
        pages_.clear();
        pages_.shrink_to_fit();
        size_ = 0;
    }

    std::size_t memory_bytes() const
    {
        return pages_.size() * kPage * sizeof(T) + pages_.capacity() * sizeof(pages_[0]);
    }

 private:
    void reserve_page_for(std::size_t index)
    {
        if ((index >> PageBits) >= pages_.size()) pages_.push_back(std::make_unique_for_overwrite<T[]>(kPage));
    }

    std::vector<std::unique_ptr<T[]>> pages_;
    std::size_t size_ = 0;
};

}  // namespace ui
