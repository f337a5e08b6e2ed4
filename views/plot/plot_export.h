// The Plot page's table as CSV text: a header "line,<series names>", then one
// row per parsed line with its number and the values as they were written.
#pragma once

#include <string>
#include <vector>

#include "views/plot/plot_series.h"

// The header line, ended by CR LF as Windows programs expect.
std::string plot_csv_header(const std::vector<std::string>& names);
// Rows [from, to) of the table, each ended by CR LF, empty where a series had
// no value; appended to out so a large table is written in pieces.
void plot_csv_rows(const PlotSeries& table, int series, std::size_t from, std::size_t to, std::string& out);
