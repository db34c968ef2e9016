#include "runtime/dynamic_array.h"
#include "runtime/failure.h"
#include "runtime/integer.h"
#include "runtime/lenient_number.h"
#include "runtime/user_text.h"
#include "support/thrown.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace kestrel {

TEST(LenientNumber, ReadsTheLongestLeadingNumber) {
    // "1e": an exponent needs digits.
    const std::pair<const char*, double> texts[] = {
        {"12abc", 12}, {"abc", 0}, {"", 0},  {"  2.5", 2.5}, {"-.5x", -0.5},
        {"1e3", 1000}, {"1e", 1},  {"-", 0}, {".", 0},       {"1.5.2", 1.5}};
    for (const auto& [text, value] : texts)
        EXPECT_EQ(LeadingNumber(text), value) << text;
    // An overflowing number is reported, not infinite.
    EXPECT_TRUE(ReadLeadingNumber("1e400").overflow);
    EXPECT_THROW(LeadingNumber("1e400"), Failure);
}

TEST(QuotedExcerpt, QuotesUserTextSafelyOnOneLine) {
    // Not text: an overlong form, a surrogate, a code point past U+10FFFF, a
    // cut sequence, a C1 control; four valid bytes stay.
    const std::pair<const char*, const char*> texts[] = {
        {"メッシュ数 X", "メッシュ数 X"},
        {"a\nb\tc\r\x1b[31m\x7f", "a\\nb\\tc\\r\\x1B[31m\\x7F"},
        {"\xff\xfe", "\\xFF\\xFE"},
        {"\xe0\x80\x80", "\\xE0\\x80\\x80"},
        {"\xed\xa0\x80", "\\xED\\xA0\\x80"},
        {"\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
        {"\xe3\x83", "\\xE3\\x83"},
        {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},
        {"\xc2\x85", "\\xC2\\x85"}};
    for (const auto& [text, quoted] : texts)
        EXPECT_EQ(QuotedExcerpt(text), quoted);
    EXPECT_EQ(QuotedExcerpt(std::string(61, 'k')), std::string(60, 'k') + "…");
    EXPECT_EQ(QuotedExcerpt(std::string(60, 'k')), std::string(60, 'k'));
    EXPECT_EQ(QuotedExcerpt("abcdef", 3), "abc…");
}

TEST(IntegerConversion, RoundsHalvesToEvenWithinTheRange) {
    const std::pair<double, Integer> values[] = {{2.5, 2},    {3.5, 4},         {-2.5, -2},
                                                 {2.4999, 2}, {32767.4, 32767}, {-32768.5, -32768}};
    for (const auto& [value, rounded] : values)
        EXPECT_EQ(ToInteger(value), rounded) << value;
    // Outside the range: the overflow failure.
    const auto overflow = test::FailureOf([] { ToInteger(32767.5); });
    ASSERT_TRUE(overflow);
    EXPECT_EQ(overflow->number(), 6);
    EXPECT_EQ(overflow->japanese(), "オーバーフローしました。");
    EXPECT_THROW(ToInteger(-32769), Failure);
    EXPECT_THROW(AddInteger(32767, 1), Failure);
}

TEST(DynamicArray, DoesNotExistUntilDimensionedAndStartsFromZeros) {
    Array2<int> a;
    EXPECT_FALSE(a.exists());
    EXPECT_THROW(a.at(0, 0), Failure);
    a.redim(3, 2);
    a.at(3, 2) = 7;
    EXPECT_EQ(a.at(3, 2), 7);
    EXPECT_THROW(a.at(4, 0), Failure);
    EXPECT_THROW(a.at(0, -1), Failure);
    a.redim(3, 2);
    EXPECT_EQ(a.at(3, 2), 0);
    // The user sees the standard text; a developer also where it failed.
    const auto missed = test::FailureOf([&] { a.at(0, 3); });
    ASSERT_TRUE(missed);
    EXPECT_EQ(missed->number(), 9);
    EXPECT_EQ(missed->japanese(), "インデックスが有効範囲にありません。");
    EXPECT_NE(std::string(missed->what()).find("array(0, 3) outside 0..3 x 0..2"),
              std::string::npos);
    EXPECT_THROW(a.redim(-1, 2), Failure);
}

// Made or copied a part at a time, as a run on a large mesh does to redraw
// the window between parts, an array is what it is made at once.
TEST(DynamicArray, MadeOrCopiedInPartsIsTheSame) {
    int parts = 0;
    const auto count = [&] { ++parts; };
    Array2<double> whole;
    whole.redim(1500, 800); // 9.6 MB: two parts
    Array2<double> inParts;
    inParts.redim(3, 3);
    inParts(1, 1) = 5;
    inParts.redim(1500, 800, count);
    EXPECT_EQ(inParts, whole);
    EXPECT_EQ(parts, 2);
    whole(1500, 800) = 7;
    whole(0, 0) = -1;
    Array2<double> copied;
    copied.copy(whole, count);
    EXPECT_EQ(copied, whole);
    EXPECT_EQ(parts, 4);
    EXPECT_THROW(copied.redim(-1, 2, count), Failure);
}

// The solver loads whole groups of a row and relies on each row starting on
// a vector width; every element must still be its own.
TEST(DynamicArray, RowsStartOnAVectorWidthAndKeepTheirElementsApart) {
    for (int upper1 = 0; upper1 <= 9; ++upper1) {
        Array2<double> a;
        a.redim(upper1, 3);
        Array2<Integer> codes;
        codes.redim(upper1, 3);
        for (int j = 0; j <= 3; ++j) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a.row(j)) % 32, 0u) << upper1;
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(codes.row(j)) % 32, 0u) << upper1;
            for (int i = 0; i <= upper1; ++i)
                a(i, j) = 100 * j + i;
        }
        for (int j = 0; j <= 3; ++j)
            for (int i = 0; i <= upper1; ++i) {
                EXPECT_EQ(a.row(j)[i], 100 * j + i);
                EXPECT_EQ(a.at(i, j), 100 * j + i);
            }
        Array2<double> same;
        same.redim(upper1, 3);
        for (int j = 0; j <= 3; ++j)
            for (int i = 0; i <= upper1; ++i)
                same(i, j) = a(i, j);
        EXPECT_TRUE(same == a);
    }
}

} // namespace kestrel
