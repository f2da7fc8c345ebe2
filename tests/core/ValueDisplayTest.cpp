#include "values/CheckRange.h"
#include "values/ValueDisplay.h"

#include <gtest/gtest.h>

using namespace lumetra;

TEST(ValueDisplay, StepsWithoutCarryOrLimit)
{
    ValueDisplay v;
    int changes = 0;
    v.setOnChanged([&] { ++changes; });
    v.setDigits("000009");
    EXPECT_EQ(changes, 1);
    v.step(5, MouseButton::Left);
    EXPECT_EQ(v.digits(), "000000"); // 9 → 0, cell 4 untouched
    v.step(0, MouseButton::Right);
    EXPECT_EQ(v.digits(), "900000");
    v.step(0, MouseButton::Other);
    v.step(6, MouseButton::Left);
    v.step(-1, MouseButton::Left);
    EXPECT_EQ(v.digits(), "900000");
    EXPECT_EQ(changes, 3);
}

TEST(ValueDisplay, TensOfSecondsRunZeroToFive)
{
    ValueDisplay v;
    v.setStepRule(StepRule::SixtyTens);
    v.setDigits("000050");
    v.step(4, MouseButton::Left);
    EXPECT_EQ(v.cell(4), '0');
    v.step(4, MouseButton::Right);
    EXPECT_EQ(v.cell(4), '5');
    v.step(3, MouseButton::Right); // other cells as usual
    EXPECT_EQ(v.cell(3), '9');
}

TEST(ValueDisplay, FirstCellTakesTheMinusSign)
{
    ValueDisplay v;
    v.setStepRule(StepRule::SignedFirstCell);
    v.setDigits("900000");
    v.step(0, MouseButton::Left);
    EXPECT_EQ(v.cell(0), '-');
    v.step(0, MouseButton::Left);
    EXPECT_EQ(v.cell(0), '0');
    v.step(0, MouseButton::Right);
    EXPECT_EQ(v.cell(0), '-');
    v.step(0, MouseButton::Right);
    EXPECT_EQ(v.cell(0), '9');
    v.step(1, MouseButton::Right);
    EXPECT_EQ(v.cell(1), '9'); // only cell 0 has the sign
}

TEST(ValueDisplay, DecimalPointPlacementOnTheExtraCell)
{
    ValueDisplay v(true);
    v.setDigits("123456");
    EXPECT_EQ(v.valueText(), "0123456");
    EXPECT_EQ(v.screenOrder(), (std::vector<int>{6, 0, 1, 2, 3, 4, 5}));
    int changes = 0;
    v.setOnChanged([&] { ++changes; });
    v.ArrangeDecimalPoint(3);
    EXPECT_EQ(v.valueText(), "123.456");
    v.ArrangeDecimalPoint(1);
    EXPECT_EQ(v.valueText(), "12345.6");
    EXPECT_EQ(v.screenOrder(), (std::vector<int>{0, 1, 2, 3, 4, 6, 5}));
    EXPECT_EQ(changes, 1); // "." once; moving it rewrites no caption
    v.ArrangeDecimalPoint(4);
    EXPECT_EQ(v.pointPosition(), 1);
    EXPECT_EQ(v.digits(), "123456");
    EXPECT_EQ(ValueDisplay(false).valueText(), "000000");
}

TEST(CheckRange, ClassesLimitsAndTrailingZeros)
{
    EXPECT_EQ(CheckRange(0, false, "000000"), 1); // the smallest class 0 value is 1
    EXPECT_EQ(CheckRange(5, false, "0000.00"), 0);
    EXPECT_EQ(CheckRange(0, false, "999999"), 0);
    EXPECT_EQ(CheckRange(0, false, "0999999"), 0);
    EXPECT_EQ(CheckRange(1, false, "0001.50"), 0);
    EXPECT_EQ(CheckRange(1, false, "0001.25"), 1);
    EXPECT_EQ(CheckRange(1, false, "99999.9"), 0);
    EXPECT_EQ(CheckRange(2, false, "0000.01"), 0);
    EXPECT_EQ(CheckRange(2, false, "0000.00"), 1);
    EXPECT_EQ(CheckRange(3, false, "999.999"), 0);
    EXPECT_EQ(CheckRange(3, true, "999.999"), 1);
    EXPECT_EQ(CheckRange(3, true, "99.999"), 0);
    EXPECT_EQ(CheckRange(4, false, "99.9999"), 0);
    EXPECT_EQ(CheckRange(4, false, "100.0000"), 1);
    EXPECT_EQ(CheckRange(2, false, "12.3.4"), 1);
    EXPECT_EQ(CheckRange(0, false, "abc"), 1);
    EXPECT_EQ(CheckRange(6, false, "1"), 1);
}
