// CSV cells for the exports.
#include "numtext/csv_cell.h"

void csv_put_cell(std::string& out, std::string_view text, bool always_quote)
{
    const bool formula = !text.empty() && std::string_view("=+-@").find(text[0]) != std::string_view::npos;
    if (!always_quote && text.find_first_of(",\"\r\n") == std::string_view::npos) {
        if (formula) out += '\'';
        out += text;
        return;
    }
    out += '"';
    if (formula) out += '\'';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}
