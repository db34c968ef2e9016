#include "runtime/dynamic_array.h"
#include "runtime/failure.h"
#include "runtime/integer.h"
#include "runtime/lenient_number.h"
#include "runtime/user_text.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace kestrel {

TEST(LenientNumber, ReadsTheLongestLeadingNumber) {
    EXPECT_EQ(LeadingNumber("12abc"), 12);
    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("  2.5"), 2.5);
    EXPECT_EQ(LeadingNumber("-.5x"), -0.5);
    EXPECT_EQ(LeadingNumber("1e3"), 1000);
    EXPECT_EQ(LeadingNumber("1e"), 1); // an exponent needs digits
    EXPECT_EQ(LeadingNumber("1.5.2"), 1.5);
    EXPECT_EQ(LeadingNumber("-"), 0);
    EXPECT_EQ(LeadingNumber("."), 0);
}

TEST(LenientNumber, AnOverflowingNumberIsReportedNotInfinite) {
    EXPECT_TRUE(ReadLeadingNumber("1e400").overflow);
    EXPECT_THROW(LeadingNumber("1e400"), Failure);
}

TEST(QuotedExcerpt, QuotesUserTextSafelyOnOneLine) {
    EXPECT_EQ(QuotedExcerpt("メッシュ数 X"), "メッシュ数 X");
    EXPECT_EQ(QuotedExcerpt("a\nb\tc\r\x1b[31m\x7f"), "a\\nb\\tc\\r\\x1B[31m\\x7F");
    EXPECT_EQ(QuotedExcerpt("\xff\xfe"), "\\xFF\\xFE");
    // Not text: an overlong form, a surrogate, a code point past U+10FFFF, a cut sequence.
    EXPECT_EQ(QuotedExcerpt("\xe0\x80\x80"), "\\xE0\\x80\\x80");
    EXPECT_EQ(QuotedExcerpt("\xed\xa0\x80"), "\\xED\\xA0\\x80");
    EXPECT_EQ(QuotedExcerpt("\xf4\x90\x80\x80"), "\\xF4\\x90\\x80\\x80");
    EXPECT_EQ(QuotedExcerpt("\xe3\x83"), "\\xE3\\x83");
    EXPECT_EQ(QuotedExcerpt("\xf0\x9f\x98\x80"), "\xf0\x9f\x98\x80"); // four bytes, valid
    EXPECT_EQ(QuotedExcerpt("\xc2\x85"), "\\xC2\\x85");               // a C1 control
    EXPECT_EQ(QuotedExcerpt(std::string(61, 'k')), std::string(60, 'k') + "…");
    EXPECT_EQ(QuotedExcerpt(std::string(60, 'k')), std::string(60, 'k'));
    EXPECT_EQ(QuotedExcerpt("abcdef", 3), "abc…");
}

TEST(IntegerConversion, RoundsHalvesToEven) {
    EXPECT_EQ(ToInteger(2.5), 2);
    EXPECT_EQ(ToInteger(3.5), 4);
    EXPECT_EQ(ToInteger(-2.5), -2);
    EXPECT_EQ(ToInteger(2.4999), 2);
    EXPECT_EQ(ToInteger(32767.4), 32767);
    EXPECT_EQ(ToInteger(-32768.5), -32768);
}

TEST(IntegerConversion, OutsideTheRangeIsTheOverflowFailure) {
    try {
        ToInteger(32767.5);
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), 6);
        EXPECT_EQ(f.japanese(), "オーバーフローしました。");
    }
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
    try {
        a.at(0, 3);
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), 9);
        // The user sees the standard text; a developer also where it failed.
        EXPECT_EQ(f.japanese(), "インデックスが有効範囲にありません。");
        EXPECT_NE(std::string(f.what()).find("array(0, 3) outside 0..3 x 0..2"), std::string::npos)
            << f.what();
    }
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
