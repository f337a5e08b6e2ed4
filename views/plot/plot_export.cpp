// CSV text of the Plot page's table.
#include "views/plot/plot_export.h"

#include <algorithm>
#include <string_view>

#include "numtext/csv_cell.h"

namespace {

// A name holding a comma or a quote is quoted, so the header keeps one cell
// per series whatever the device calls its values; the names come from
// whatever is on the other end of the cable, so formulas are guarded too.
void put_cell(std::string& out, const std::string& text)
{
    csv_put_cell(out, text);
}

}  // namespace

std::string plot_csv_header(const std::vector<std::string>& names)
{
    std::string out = "line";
    for (const std::string& n : names) {
        out += ',';
        put_cell(out, n);
    }
    out += "\r\n";
    return out;
}

void plot_csv_rows(const PlotSeries& table, int series, std::size_t from, std::size_t to, std::string& out)
{
    std::string scratch;
    for (std::size_t r = from; r < to && r < table.rows(); ++r) {
        out += std::to_string(table.line_number(r));
        // Cells in series order; a series the row lacks leaves its cell empty.
        std::vector<std::pair<int, std::string_view>> cells = table.cells(r, scratch);
        std::sort(cells.begin(), cells.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::size_t next = 0;
        for (int s = 0; s < series; ++s) {
            out += ',';
            if (next < cells.size() && cells[next].first == s) out += cells[next++].second;
        }
        out += "\r\n";
    }
}
