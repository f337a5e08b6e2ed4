// The integer edit check: an edit field's text read as a 32-bit integer,
// limited to a range and written back, as the dialogs' number fields need.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "ui/edit.h"

// Text that is no valid 32-bit integer; the message is
// "'<text>' is not a valid integer value" and reaches the application's
// error handler, ending the handler that ran the check.
class IntegerConversionError : public std::invalid_argument {
 public:
    explicit IntegerConversionError(const std::string& text);
};

// -1 when the field is empty (left unchanged); otherwise its value limited to
// min..max, which is also written back into the field as decimal text.
// Accepts signed decimal text and "0x" hexadecimal, as the settings file does.
std::int32_t IntEditCheck(ui::Edit& edit, std::int32_t min, std::int32_t max);
