#include "records/info_texts.h"

#include <gtest/gtest.h>

namespace {

TEST(InfoTexts, MaximumAndStrengthUseTheirPanelFormats) {
    struct Case {
        int32_t fmaxN;
        const char* area;
        const char* fmax;
        const char* rmax;
    };
    const Case cases[] = {
        {2500, "100", "2.500   ", "25.000  "},
        {2500, "0", "2.500   ", "-"},
        {0, "100", "0.000   ", "0.000   "},
        {123456789, "3", "123456.789", "41152263.000"},  // wider than 8: never cut
        {2500, "abc", "2.500   ", "-"},
        {2500, "", "2.500   ", "-"},
        {2500, "-5", "2.500   ", "-"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(records::FormatInfoFmax(c.fmaxN), c.fmax) << c.fmaxN;
        EXPECT_EQ(records::FormatInfoRmax(c.fmaxN, c.area), c.rmax) << c.area;
    }
}

TEST(InfoTexts, AreaIsADecimalNumberOrNothing) {
    struct Case {
        const char* text;
        bool ok;
        double area;
    };
    const Case cases[] = {
        {"100", true, 100}, {" 250 ", true, 250}, {"12,5", true, 12.5}, {"12.5", true, 12.5},
        {"abc", false, 0},  {"", false, 0},       {"12a", false, 0},    {"1e999", false, 0},
        {"nan", false, 0},  {"inf", false, 0},
    };
    for (const Case& c : cases) {
        double area = -1;
        EXPECT_EQ(records::ParseArea(c.text, &area), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(area, c.area) << c.text;
        }
    }
}

}  // namespace
