// Cell positions, row offsets and the inspector's field texts.
#include "views/hex/hex_fields.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct CellCase {
    std::int32_t col, row;
    std::optional<std::int32_t> pos;
};

TEST(HexCells, PositionOfEachKindOfCell)
{
    const CellCase cases[] = {
        {1, 0, std::nullopt},  // header
        {0, 1, std::nullopt},  // offset column
        {1, 1, 0},
        {16, 1, 15},
        {17, 1, 0},
        {32, 1, 15},
        {1, 2, 16},
        {17, 2, 16},
        {2, 2, 17},
        {18, 2, 17},
        // The last row a 2 GiB store needs: no wrap past 2^31.
        {16, 134217728, 2147483647},
    };
    for (const CellCase& c : cases)
        EXPECT_EQ(hex_cell_position(c.col, c.row), c.pos) << "col " << c.col << " row " << c.row;
    EXPECT_EQ(hex_mirror_col(1), 17);
    EXPECT_EQ(hex_mirror_col(16), 32);
    EXPECT_EQ(hex_mirror_col(17), 1);
    EXPECT_EQ(hex_mirror_col(32), 16);
}

TEST(HexCells, RowsAndOffsets)
{
    EXPECT_EQ(hex_row_count(0), 2);  // header and one empty row
    EXPECT_EQ(hex_row_count(1), 2);
    EXPECT_EQ(hex_row_count(16), 2);
    EXPECT_EQ(hex_row_count(17), 3);
    EXPECT_EQ(hex_row_count(2147483647), 134217729);
    EXPECT_EQ(hex_row_offset_text(1), "0x00000000");
    EXPECT_EQ(hex_row_offset_text(2), "0x00000010");
    EXPECT_EQ(hex_row_offset_text(134217728), "0x7FFFFFF0");
}

class Inspector : public ::testing::Test {
 protected:
    InspectorTexts at(std::vector<unsigned char> bytes, std::int32_t position = 0)
    {
        return inspector_texts(bytes.data(), int(bytes.size()), position, start, end, o);
    }
    InspectorOptions o;
    std::int32_t start = 0, end = 0;
};

TEST_F(Inspector, FfFeInEveryFieldWithHexOffAndOn)
{
    struct Row {
        bool hex;
        const char *i8, *u8, *i16, *u16, *i4, *u4;
    };
    const Row rows[] = {{false, " -1", " 255", " -257", " 65279", " -1", " 15"},
                        {true, " -0x01", " 0xFF", " -0x0101", " 0xFEFF", " -0x01", " 0x0F"}};
    for (const Row& r : rows) {
        o.hex = r.hex;
        const InspectorTexts t = at({0xFF, 0xFE});
        EXPECT_EQ(t.i8, r.i8);
        EXPECT_EQ(t.u8, r.u8);
        EXPECT_EQ(t.i16, r.i16);
        EXPECT_EQ(t.u16, r.u16);
        EXPECT_EQ(t.i4lo, r.i4);
        EXPECT_EQ(t.i4hi, r.i4);
        EXPECT_EQ(t.u4lo, r.u4);
        EXPECT_EQ(t.u4hi, r.u4);
        EXPECT_EQ(t.i24, "");
        EXPECT_EQ(t.u32, "");
    }
}

TEST_F(Inspector, LastByteFillsOnlyTheEightAndFourBitFields)
{
    const InspectorTexts t = at({0xFE}, 41);
    EXPECT_EQ(t.u8, " 254");
    EXPECT_EQ(t.i8, " -2");
    EXPECT_EQ(t.u4lo, " 14");
    EXPECT_EQ(t.i4hi, " -1");
    for (const std::string* f : {&t.i16, &t.u16, &t.i24, &t.u24, &t.i32, &t.u32}) EXPECT_EQ(*f, "");
    EXPECT_EQ(t.ival, " 0xFE");
    EXPECT_EQ(t.rxposd, " 41");
    EXPECT_EQ(t.rxposh, " 0x00000029");
}

TEST_F(Inspector, NoDataEmptiesEveryField)
{
    const InspectorTexts t = inspector_texts(nullptr, 0, 5, 0, 0, o);
    for (const std::string* f : {&t.i8, &t.u8, &t.i16, &t.u16, &t.i24, &t.u24, &t.i32, &t.u32, &t.i4lo, &t.u4lo,
                                 &t.i4hi, &t.u4hi, &t.ival, &t.rxposd, &t.rxposh, &t.ss, &t.sp, &t.sl})
        EXPECT_EQ(*f, "");
}

TEST_F(Inspector, FixedWidthsFollowTheirByteOrder)
{
    o.hex = true;
    const InspectorTexts le = at({0x01, 0x02, 0x03, 0x84});
    EXPECT_EQ(le.u24, " 0x030201");
    EXPECT_EQ(le.u32, " 0x84030201");
    EXPECT_EQ(le.i32, " -0x7BFCFDFF");
    o.fixed_be = true;
    const InspectorTexts be = at({0x01, 0x02, 0x03, 0x84});
    EXPECT_EQ(be.u16, " 0x0102");
    EXPECT_EQ(be.u24, " 0x010203");
    EXPECT_EQ(be.u32, " 0x01020384");
}

TEST_F(Inspector, VariableLengthValue)
{
    o.var_length = 2;
    EXPECT_EQ(at({0x01, 0x02}).ival, " 0x0201");
    o.var_be = true;
    EXPECT_EQ(at({0x01, 0x02}).ival, " 0x0102");
    o.var_radix = VarRadix::Dec;
    o.var_signed = true;
    EXPECT_EQ(at({0xFF, 0xFE}).ival, " -2");
    // Length 8 with fewer bytes left: empty, while the fixed fields show what fits.
    o.var_length = 8;
    const InspectorTexts short_data = at({1, 2, 3, 4, 5});
    EXPECT_EQ(short_data.ival, "");
    EXPECT_EQ(short_data.u32, " 67305985");  // 0x04030201
    o.var_signed = false;
    o.var_radix = VarRadix::Hex;
    o.var_be = false;
    EXPECT_EQ(at({1, 2, 3, 4, 5, 6, 7, 0x88}).ival, " 0x8807060504030201");
}

TEST_F(Inspector, BinaryValueKeepsItsTrailingSpaceInTheCopy)
{
    o.var_radix = VarRadix::Bin;
    const InspectorTexts t = at({0x41});
    EXPECT_EQ(t.ival, " 0b01000001 ");
    EXPECT_EQ(field_copy_text(t.ival), "0b01000001 ");
    EXPECT_EQ(field_copy_text(" 255"), "255");
    EXPECT_EQ(field_copy_text(""), std::nullopt);
    EXPECT_EQ(field_copy_text(" "), std::nullopt);
}

TEST_F(Inspector, SelectionFields)
{
    start = 0x10;
    end = 0x2F;
    const InspectorTexts t = at({7}, 100);
    EXPECT_EQ(t.ss, " 0x00000010");
    EXPECT_EQ(t.sp, " 0x0000002F");
    EXPECT_EQ(t.sl, " 32");
    EXPECT_EQ(inspector_read_count(o), 4);
    o.var_length = 7;
    EXPECT_EQ(inspector_read_count(o), 7);
}

}  // namespace
