#include "runtime/dynamic_array.h"
#include "runtime/failure.h"
#include "runtime/integer.h"
#include "runtime/lenient_number.h"

#include <gtest/gtest.h>

namespace kestrel {

TEST(LenientNumber, ReadsTheLongestLeadingNumber) {
    EXPECT_EQ(leadingNumber("12abc"), 12);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("  2.5"), 2.5);
    EXPECT_EQ(leadingNumber("-.5x"), -0.5);
    EXPECT_EQ(leadingNumber("1e3"), 1000);
    EXPECT_EQ(leadingNumber("1e"), 1); // an exponent needs digits
    EXPECT_EQ(leadingNumber("1.5.2"), 1.5);
    EXPECT_EQ(leadingNumber("-"), 0);
    EXPECT_EQ(leadingNumber("."), 0);
}

TEST(LenientNumber, AnOverflowingNumberIsReportedNotInfinite) {
    EXPECT_TRUE(readLeadingNumber("1e400").overflow);
    EXPECT_THROW(leadingNumber("1e400"), Failure);
}

TEST(IntegerConversion, RoundsHalvesToEven) {
    EXPECT_EQ(toInteger(2.5), 2);
    EXPECT_EQ(toInteger(3.5), 4);
    EXPECT_EQ(toInteger(-2.5), -2);
    EXPECT_EQ(toInteger(2.4999), 2);
    EXPECT_EQ(toInteger(32767.4), 32767);
    EXPECT_EQ(toInteger(-32768.5), -32768);
}

TEST(IntegerConversion, OutsideTheRangeIsTheOverflowFailure) {
    try {
        toInteger(32767.5);
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), 6);
        EXPECT_EQ(f.description(), "オーバーフローしました。");
    }
    EXPECT_THROW(toInteger(-32769), Failure);
    EXPECT_THROW(addInteger(32767, 1), Failure);
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
    }
    EXPECT_THROW(a.redim(-1, 2), Failure);
}

} // namespace kestrel
