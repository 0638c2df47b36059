#include <gtest/gtest.h>

#include "core/numbers.h"
#include "core/text.h"

namespace velmora {
namespace {

struct DecimalCase {
    const char* text;
    float expected;
};

TEST(ParseDecimal, ReadsOnlyWholeNumbers)
{
    const DecimalCase cases[] = {
        {" 12,5", 12.5f}, {"12.5 g", 0.0f},  {"", 0.0f},       {"1,234.5", 0.0f}, {"12.5", 12.5f},
        {"-3,25", -3.25f}, {"+4", 4.0f},      {".5", 0.5f},     {"5.", 5.0f},      {"1e3", 1000.0f},
        {"1E-2", 0.01f},  {"abc", 0.0f},     {"12 ", 0.0f},    {"\t7", 7.0f},     {"inf", 0.0f},
        {"nan", 0.0f},    {"1e999", 0.0f},   {"-", 0.0f},      {"1e", 0.0f},      {"0x10", 0.0f},
    };
    for (const auto& c : cases) EXPECT_FLOAT_EQ(ParseDecimal(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ParseDecimal, RoundTripsEveryFloatText)
{
    for (float value : {0.1f, 1.0f / 3.0f, 123456.789f, 1e-7f, 3.4e38f, -2.5e-3f}) {
        EXPECT_EQ(ParseDecimal(FloatText(value)), value) << FloatText(value);
    }
}

TEST(FormatFixed, RoundsAndAligns)
{
    struct Case {
        double value;
        int width, decimals;
        const char* expected;
    };
    const Case cases[] = {
        {12.345, 0, 1, "12.3"}, {12.35, 6, 1, "  12.4"}, {-1.5, 6, 2, " -1.50"}, {0.0, 0, 0, "0"},
        {-0.04, 0, 1, "0.0"},   {1234567, 3, 0, "1234567"}, {2.5, 0, 0, "3"}, {-2.5, 0, 0, "-3"}, {0.125, 0, 2, "0.13"},  {99.999, 0, 2, "100.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFixed(c.value, c.width, c.decimals), c.expected) << c.value;
    }
}

TEST(FormatDecimal, ShowsADecimalComma)
{
    EXPECT_EQ(FormatDecimal("  12.5"), "12,5");
    EXPECT_EQ(FormatDecimal("1.2.3"), "1,2.3");
    EXPECT_EQ(FormatDecimal("7"), "7");
}

TEST(ParseTimeSlot, QuarterHours)
{
    struct Case {
        const char* text;
        int slot;
    };
    const Case cases[] = {
        {"7.15", 29}, {"12:30", 50}, {"12,45", 51}, {"23.59", 95}, {"25.00", 0}, {"12.75", 48},
        {"12.3", 50}, {"abc", 96},   {"", 96},      {"-1", 96},    {" 8", 32},   {"8.14", 32},
        {"0.00", 0},  {"12:3", 50},  {"24", 0},     {"9.", 36},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseTimeSlot(c.text), c.slot) << '"' << c.text << '"';
}

TEST(Text, CapacityCountsCharactersNotBytes)
{
    EXPECT_EQ(CutToCapacity("åäöxyz", 3), "åäö");
    EXPECT_EQ(CutToCapacity("ab", 5), "ab");
    EXPECT_EQ(CharacterCount("€uro"), 4u);
    EXPECT_EQ(UpperCase("smörgås é æ ø ü ÿ"), "SMÖRGÅS É Æ Ø Ü Ÿ");
    EXPECT_EQ(TextBetweenBraces("Banan{123}100@st"), "123");
    EXPECT_EQ(TextBetweenBraces("no braces"), "");
}

}  // namespace
}  // namespace velmora
