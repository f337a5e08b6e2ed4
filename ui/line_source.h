// Where a text view's characters come from when it keeps only line lengths: the
// owner of the data hands them out as they are painted, copied, found or saved.
#pragma once

#include <cstddef>

namespace ui {

class LineSource {
 public:
    virtual ~LineSource() = default;

    // Writes n characters of a line from column `from` to out; the view asks only
    // within the length it was given for that line.
    virtual void copy(std::size_t line, std::size_t from, std::size_t n, char* out) const = 0;
};

}  // namespace ui
