// The Plot page's data units: the line parser, the table's min/max index
// against a brute-force scan, and the CSV text.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <random>

#include "views/plot/plot_export.h"
#include "views/plot/plot_parse.h"
#include "views/plot/plot_series.h"

namespace {

// "name=text" per series with a value, in series order.
std::string shown(const PlotParser& p, const PlotLine& l)
{
    std::string out;
    for (int s = 0; s < plot_max_series; ++s)
        if (l.present >> s & 1)
            out += (out.empty() ? "" : " ") + p.names()[std::size_t(s)] + "=" + std::string(l.texts[std::size_t(s)]);
    return out;
}

TEST(PlotParse, SeparatorsSignsExponentsAndNames)
{
    struct Case {
        const char* line;
        bool reading;
        const char* values;
    };
    const Case cases[] = {
        {"12.5, -3, 7e-2", true, "1=12.5 2=-3 3=7e-2"},
        {"1;2\t3 4", true, "1=1 2=2 3=3 4=4"},
        {"  +4 ,, -.5 ", true, "1=+4 2=-.5"},
        {"1E+3 5.", true, "1=1E+3 2=5."},
        {"temp:21.5 rpm=1200", true, "temp=21.5 rpm=1200"},
        {"temp: 21.5 rpm= -3", true, "temp=21.5 rpm=-3"},
        {"ADC 512 1023", true, "2=512 3=1023"},  // a word keeps its column
        // Named pairs among other words, units ignored.
        {"#00056 t=  56.0s temp=24.00C volt=3.30V status=OK", true, "t=56.0 temp=24.00 volt=3.30"},
        {"temp = 21.5", true, "temp=21.5"},
        {"temp =21.5 rpm: 3", true, "temp=21.5 rpm=3"},
        {"temp 24.5\xc2\xb0"
         "C hum 40%",
         true, "temp=24.5 hum=40"},
        {"I (310) bat: 3.3V load 12mA", true, "bat=3.3 load=12"},
        {"12.5V, 3.3V", true, "1=12.5 2=3.3"},
        {"t=5\xb5s", true, "t=5"},
        {"status=OK", false, ""},
        {"status=OK v=2", true, "v=2"},
        // Fields that are no number keep their columns empty.
        {"0x1F,7", true, "2=7"},
        {"abc 1e999 -1e400 4", true, "4=4"},
        {"1e 2", true, "2=2"},
        {"= 5", true, "1=5"},
        // Escape sequences are no part of a field.
        {"\x1b[0;32mtemp=21\x1b[0m v=\x1b[1m3\x1b[0mV", true, "temp=21 v=3"},
        {"nan, 5", true, "2=5"},
        {"-INF inf Infinity 7", true, "4=7"},
        {"x:nan y:2", true, "y=2"},
        {"hello world", false, ""},
        {"", false, ""},
        {"0x10 1e 1e+ . - e5 1.2.3", false, ""},
        {"1e999", false, ""},
        {"a:1 a:2", true, "a=1"},
    };
    for (const Case& c : cases) {
        PlotParser p;
        PlotLine l;
        EXPECT_EQ(p.parse(c.line, l), c.reading) << c.line;
        EXPECT_EQ(shown(p, l), c.values) << c.line;
    }
    double v = 0;
    ASSERT_TRUE(plot_number("-7e-2", v));
    EXPECT_DOUBLE_EQ(v, -0.07);
}

TEST(PlotParse, NamesKeepTheirOrderStampsAreTimeAndANinthSeriesIsOnlyCounted)
{
    PlotParser p;
    PlotLine l;
    ASSERT_TRUE(p.parse("b=1 a=2", l));
    ASSERT_TRUE(p.parse("a=3 5", l));
    EXPECT_EQ(shown(p, l), "a=3 1=5");
    EXPECT_EQ(p.names(), (std::vector<std::string>{"b", "a", "1"}));

    ASSERT_TRUE(p.parse("01:02:03.456 7", l));
    EXPECT_TRUE(l.stamped);
    EXPECT_EQ(l.stamp_ms, 3723456u);
    EXPECT_EQ(shown(p, l), "1=7");

    ASSERT_TRUE(p.parse("1 2 3 4 5 6 7 8 9 10", l));
    EXPECT_EQ(l.count, 6);             // series 2..6 join b, a, 1: 8 in all; 7..10 are over
    EXPECT_EQ(p.names().size(), 12u);  // all kept for the export, the first 8 drawn
    EXPECT_EQ(p.extra_series(), 4u);
    ASSERT_EQ(l.more.size(), 4u);
    EXPECT_EQ(l.more[3], std::make_pair(11, std::string_view("10")));
    // Numbers only of series beyond the limit still make a reading.
    EXPECT_TRUE(p.parse("z=4", l));
    EXPECT_EQ(l.count, 0);
    EXPECT_EQ(p.extra_series(), 5u);
}

class PlotSeriesTest : public ::testing::Test {
 protected:
    void add(std::uint32_t line, std::initializer_list<std::pair<int, double>> values)
    {
        PlotLine l;
        for (auto [s, v] : values) {
            texts.push_back(std::to_string(v));
            l.values[std::size_t(s)] = v;
            l.present = std::uint8_t(l.present | 1u << s);
        }
        std::size_t i = texts.size() - values.size();
        for (auto [s, v] : values) l.texts[std::size_t(s)] = texts[i++];
        ASSERT_TRUE(table.add(line, line, l));
    }
    PlotSpan brute(int s, std::size_t from, std::size_t to)
    {
        PlotSpan out;
        for (std::size_t r = from; r < to; ++r)
            if (table.has(s, r)) out.take(table.value(s, r));
        return out;
    }

    std::deque<std::string> texts;
    PlotSeries table;
};

TEST_F(PlotSeriesTest, DecimationMatchesABruteForceScanAtEveryZoom)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> value(-1000, 1000);
    for (std::uint32_t i = 0; i < 2000; ++i) {
        // Series 1 is sparse and series 2 starts late, so absent values and
        // back-filled rows sit inside blocks.
        if (i % 3 == 0)
            add(i, {{0, value(rng)}, {1, value(rng)}});
        else
            add(i, {{0, value(rng)}});
        if (i == 1500) add(i, {{2, 1e9}});
    }
    ASSERT_EQ(table.series_count(), 3);
    // x is the line number; row 1501 repeats line 1500.
    const std::pair<double, double> ranges[] = {{0, 2000}, {1, 2}, {63, 65}, {10.5, 1998.2}, {1499, 1600}, {7, 7}};
    for (auto [x0, x1] : ranges)
        for (int columns : {1, 7, 300, 2500}) {
            // Each column starts at the first row at or past its left edge; the
            // last ends after x1. An edge that falls on a row's x may round
            // either way (x87 keeps more bits than a double), so rows within
            // 1e-9 of an edge may sit on either side of it.
            std::vector<std::size_t> bounds;
            table.column_rows(x0, x1, columns, bounds);
            ASSERT_EQ(bounds.size(), std::size_t(columns) + 1);
            const double w = (x1 - x0) / columns;
            for (int c = 0; c <= columns; ++c) {
                const std::size_t b = bounds[std::size_t(c)];
                const bool last = c == columns;
                const double edge = last ? x1 : x0 + w * c;
                const double slack = last ? 0 : 1e-9;
                const double before = b > 0 ? table.x(b - 1) : -1e300;
                const double at = b < table.rows() ? table.x(b) : 1e300;
                EXPECT_LE(before, edge + slack) << x0 << " " << columns << " " << c;
                EXPECT_TRUE(last ? at > edge : at >= edge - slack) << x0 << " " << columns << " " << c;
            }
            for (int s = 0; s < 3; ++s) {
                std::vector<PlotSpan> got, via_x;
                table.decimate(s, bounds, got);
                table.decimate(s, x0, x1, columns, via_x);
                ASSERT_EQ(via_x.size(), std::size_t(columns));
                for (int c = 0; c < columns; ++c) {
                    const PlotSpan want = brute(s, bounds[std::size_t(c)], bounds[std::size_t(c) + 1]);
                    ASSERT_EQ(got[c].empty(), want.empty()) << s << " " << x0 << " " << columns << " " << c;
                    if (!want.empty()) {
                        EXPECT_EQ(got[c].lo, want.lo);
                        EXPECT_EQ(got[c].hi, want.hi);
                        EXPECT_EQ(via_x[c].lo, want.lo);
                        EXPECT_EQ(via_x[c].hi, want.hi);
                    }
                }
            }
        }
    EXPECT_EQ(table.row_at_x(1500.5), 1502u);
    EXPECT_EQ(table.row_at_x(1500), 1500u);
    EXPECT_EQ(table.row_at_x(1500, true), 1502u);
    // span() straight over rows, ragged and whole blocks.
    for (auto [from, to] : {std::pair<std::size_t, std::size_t>{0, 2001}, {1, 2}, {63, 129}, {64, 128}, {9, 3}}) {
        const PlotSpan got = table.span(0, from, to), want = brute(0, from, to);
        ASSERT_EQ(got.empty(), want.empty());
        if (!want.empty()) {
            EXPECT_EQ(got.lo, want.lo);
            EXPECT_EQ(got.hi, want.hi);
        }
    }
}

TEST_F(PlotSeriesTest, ExportWritesTheTextAsWrittenAndLeavesAbsentCellsEmpty)
{
    PlotParser p;
    PlotLine l;
    const char* lines[] = {"t=1.50 v=-2", "v=7e3", "x", "t=+3"};
    std::uint32_t n = 0;
    for (const char* line : lines) {
        ++n;
        if (p.parse(line, l)) table.add(n, n, l);
    }
    std::string csv = plot_csv_header(p.names());
    plot_csv_rows(table, int(p.names().size()), 0, table.rows(), csv);
    EXPECT_EQ(csv, "line,t,v\r\n1,1.50,-2\r\n2,,7e3\r\n4,+3,\r\n");
    EXPECT_EQ(plot_csv_header({"a\"b", "@SUM(A1)", "-x"}), "line,\"a\"\"b\",'@SUM(A1),'-x\r\n");
}

TEST_F(PlotSeriesTest, ExportHoldsSeriesPastTheDrawnOnes)
{
    PlotParser p;
    PlotLine l;
    const char* lines[] = {"1 2 3 4 5 6 7 8 9 10 11 12", "k=5 3", "12=x 7 8 9 10 11 12 13 14 15 16 17 -12"};
    std::uint32_t n = 0;
    for (const char* line : lines)
        if (p.parse(line, l)) {
            ++n;
            table.add(n, n, l);
        }
    ASSERT_EQ(p.names().size(), 13u);
    std::string csv;
    plot_csv_rows(table, int(p.names().size()), 0, table.rows(), csv);
    EXPECT_EQ(csv,
              "1,1,2,3,4,5,6,7,8,9,10,11,12,\r\n"
              "2,3,,,,,,,,,,,,5\r\n"
              "3,7,8,9,10,11,12,13,14,15,16,17,-12,\r\n");
}

TEST(PlotSeriesLimit, AFullTableRefusesRowsInsteadOfGrowing)
{
    PlotSeries small(8 << 20);
    PlotLine l;
    l.present = 1;
    l.texts[0] = "1";
    std::size_t stored = 0;
    while (small.add(0, 0, l) && stored < 10'000'000) ++stored;
    EXPECT_LT(stored, 10'000'000u);
    EXPECT_GT(stored, 1000u);
    EXPECT_FALSE(small.add(0, 0, l));
}

}  // namespace
