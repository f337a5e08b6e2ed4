// One CSV cell from text that came over the cable: quoted when it holds a
// comma, a quote or a line break (or always, when asked), and with a leading
// apostrophe when a spreadsheet would run it as a formula (=, +, -, @ first).
#pragma once

#include <string>
#include <string_view>

void csv_put_cell(std::string& out, std::string_view text, bool always_quote = false);
