// Line store, wrap layout and selection text of the text view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/text_layout.h"
#include "ui/text_lines.h"

using ui::TextLayout;
using ui::TextLines;
using ui::TextPos;
using ui::TextRow;

namespace {

std::vector<std::string> all(const TextLines& t)
{
    std::vector<std::string> v;
    for (std::size_t i = 0; i < t.count(); ++i) v.push_back(t.line(i));
    return v;
}

TEST(TextLines, LineOperations)
{
    struct Step {
        const char* op;  // "add", "replace", "append", "clear"
        const char* text;
        std::vector<std::string> expect;
    };
    const Step steps[] = {
        {"replace", "x", {"x"}},  // replace on an empty store adds
        {"add", "abc", {"x", "abc"}},
        {"replace", "abcdef", {"x", "abcdef"}},
        {"replace", "", {"x", ""}},  // shrink to empty keeps the line
        {"append", "12", {"x", "12"}},
        {"add", "", {"x", "12", ""}},
        {"append", "tail", {"x", "12", "tail"}},
        {"clear", "", {}},
        {"append", "new", {"new"}},  // append on an empty store adds
    };
    TextLines t;
    for (const Step& s : steps) {
        std::string op = s.op;
        if (op == "add")
            t.add(s.text);
        else if (op == "replace")
            t.replace_last(s.text);
        else if (op == "append")
            t.append_last(s.text);
        else
            t.clear();
        EXPECT_EQ(all(t), s.expect) << op << " " << s.text;
        EXPECT_EQ(t.last(), s.expect.empty() ? "" : s.expect.back());
    }
}

TEST(TextLines, LinesAcrossPageBoundariesStayWhole)
{
    // Pages are 1 MiB: lines that straddle one must read back intact.
    TextLines t;
    std::string big(700000, 'a');
    for (int i = 0; i < 5; ++i) {
        big[0] = static_cast<char>('0' + i);
        t.add(big);
    }
    t.replace_last(std::string(1500000, 'z'));  // spans two page boundaries
    ASSERT_EQ(t.count(), 5u);
    for (int i = 0; i < 4; ++i) {
        std::string s = t.line(i);
        EXPECT_EQ(s.size(), 700000u);
        EXPECT_EQ(s[0], '0' + i);
        EXPECT_EQ(s.find_first_not_of('a', 1), std::string::npos);
    }
    EXPECT_EQ(t.last(), std::string(1500000, 'z'));
    EXPECT_EQ(t.char_count(), 4u * 700000 + 1500000);
    t.replace_last("short");  // shrinking frees the tail pages
    EXPECT_EQ(t.last(), "short");
    EXPECT_EQ(t.line(3).size(), 700000u);
}

TEST(TextLines, SelectionText)
{
    TextLines t;
    for (const char* s : {"hello", "", "world!", "end"}) t.add(s);
    struct Case {
        TextPos from, to;
        std::size_t limit;
        std::string expect;
    };
    const Case cases[] = {
        {{0, 1}, {0, 4}, std::string::npos, "ell"},
        {{0, 4}, {0, 1}, std::string::npos, "ell"},  // reversed
        {{0, 3}, {2, 2}, std::string::npos, "lo\r\n\r\nwo"},
        {{0, 0}, {3, 3}, std::string::npos, "hello\r\n\r\nworld!\r\nend"},
        {{2, 6}, {3, 0}, std::string::npos, "\r\n"},  // line end to next start
        {{1, 0}, {1, 0}, std::string::npos, ""},
        {{0, 99}, {99, 0}, std::string::npos, "\r\n\r\nworld!\r\nend"},  // clamped places
        {{0, 0}, {3, 3}, 6, "hello\r"},                                  // bounded copy
        {{0, 0}, {3, 3}, 0, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(t.text(c.from, c.to, c.limit), c.expect) << c.from.line << ":" << c.from.col;
    EXPECT_EQ(t.text_length(), t.text({0, 0}, t.end_pos()).size());
    EXPECT_EQ(TextLines().text_length(), 0u);
}

TEST(TextLines, MaxLengthAndGeneration)
{
    TextLines t;
    t.add("abc");
    t.add("abcdefg");
    t.replace_last("a");
    EXPECT_EQ(t.max_length(), 7u);  // an upper bound for the horizontal scroll range
    auto g = t.generation();
    t.clear();
    EXPECT_EQ(t.max_length(), 0u);
    EXPECT_NE(t.generation(), g);
}

// Wrap layout: rows of each line for widths at and around line lengths.
TEST(TextLayout, RowsAtWrapBoundaries)
{
    struct Case {
        std::size_t width;
        std::vector<std::size_t> lengths;
        std::uint64_t rows;
    };
    const Case cases[] = {
        {0, {0, 5, 100}, 3},  // no wrap: one row per line
        {5, {0}, 1},          // an empty line still takes a row
        {5, {5}, 1},          // exactly full
        {5, {6}, 2},          // one over
        {5, {10}, 2},        {5, {11, 4, 0, 15}, 3 + 1 + 1 + 3}, {1, {3, 3}, 6},
    };
    for (const Case& c : cases) {
        TextLines t;
        for (std::size_t n : c.lengths) t.add(std::string(n, 'x'));
        TextLayout l(t);
        l.set_wrap_width(c.width);
        EXPECT_EQ(l.row_count(), c.rows) << "width " << c.width;
    }
}

TEST(TextLayout, RowToLineAndBack)
{
    TextLines t;
    for (std::size_t n : {7, 0, 3, 10})  // width 3: rows 3, 1, 1, 4
        t.add(std::string(n, 'x'));
    TextLayout l(t);
    l.set_wrap_width(3);
    struct Case {
        std::uint64_t row;
        TextRow expect;
    };
    const Case cases[] = {
        {0, {0, 0, 3}}, {1, {0, 3, 3}}, {2, {0, 6, 1}}, {3, {1, 0, 0}},
        {4, {2, 0, 3}}, {5, {3, 0, 3}}, {8, {3, 9, 1}}, {99, {3, 9, 1}},  // past the end: the last row
    };
    for (const Case& c : cases) {
        TextRow r = l.row(c.row);
        EXPECT_EQ(r.line, c.expect.line) << c.row;
        EXPECT_EQ(r.offset, c.expect.offset) << c.row;
        EXPECT_EQ(r.length, c.expect.length) << c.row;
    }
    EXPECT_EQ(l.first_row_of(3), 5u);
    EXPECT_EQ(l.row_of({0, 3}), 1u);  // a column at a boundary starts the next row
    EXPECT_EQ(l.row_of({2, 3}), 4u);  // ...except a line's end
    EXPECT_EQ(l.row_of({3, 10}), 8u);
}

TEST(TextLayout, FollowsAppendsReplacesAndClearAcrossBlocks)
{
    // More lines than one cached block, then changes at the end and a clear.
    TextLines t;
    TextLayout l(t);
    l.set_wrap_width(4);
    std::uint64_t rows = 0;
    for (std::size_t i = 0; i < 3000; ++i) {
        t.add(std::string(i % 9, 'x'));
        rows += i % 9 == 0 ? 1 : (i % 9 + 3) / 4;
        if (i % 500 == 0) {
            EXPECT_EQ(l.row_count(), rows);
        }
    }
    EXPECT_EQ(l.row_count(), rows);
    t.replace_last(std::string(40, 'y'));  // 10 rows instead of the last line's
    rows = rows - ((2999 % 9 + 3) / 4) + 10;
    EXPECT_EQ(l.row_count(), rows);
    TextRow last = l.row(rows - 1);
    EXPECT_EQ(last.line, 2999u);
    EXPECT_EQ(last.offset, 36u);
    // Every row maps back to itself.
    for (std::uint64_t r = 0; r < rows; r += 37) {
        TextRow row = l.row(r);
        EXPECT_EQ(l.row_of({row.line, row.offset}), r);
    }
    l.set_wrap_width(0);
    EXPECT_EQ(l.row_count(), 3000u);
    l.set_wrap_width(4);
    EXPECT_EQ(l.row_count(), rows);
    t.clear();
    EXPECT_EQ(l.row_count(), 0u);
    t.add("abcde");
    EXPECT_EQ(l.row_count(), 2u);
}

}  // namespace
