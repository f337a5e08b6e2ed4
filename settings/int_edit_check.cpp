// The integer edit check of the dialogs' number fields.
#include "settings/int_edit_check.h"

#include "settings/setting_values.h"

IntegerConversionError::IntegerConversionError(const std::string& text)
    : std::invalid_argument("'" + text + "' is not a valid integer value")
{
}

std::int32_t IntEditCheck(ui::Edit& edit, std::int32_t min, std::int32_t max)
{
    const std::string text = edit.text();
    if (text.empty()) return -1;
    const auto parsed = parse_setting_integer(text);
    if (!parsed) throw IntegerConversionError(text);
    std::int32_t value = *parsed;
    if (value < min) value = min;
    if (value > max) value = max;
    edit.set_text(std::to_string(value));
    return value;
}
