#include "platform/integer_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>

namespace {

struct Case {
    const char* text;
    std::optional<int32_t> value;
};

const Case kCases[] = {
    {"0", 0},
    {"100", 100},
    {"-5", -5},
    {"+7", 7},
    {"70000", 70000},
    {"0x1F4", 500},
    {"0X1f4", 500},
    {"$1F4", 500},
    {"-$10", -16},
    {"$FFFFFFFF", -1},
    {"2147483647", INT_MAX},
    {"-2147483648", INT_MIN},
    {"2147483648", std::nullopt},
    {"99999999999", std::nullopt},
    {"$100000000", std::nullopt},
    {"", std::nullopt},
    {"-", std::nullopt},
    {"+", std::nullopt},
    {"$", std::nullopt},
    {"0x", std::nullopt},
    {"12a", std::nullopt},
    {"12ab", std::nullopt},
    {"$1G", std::nullopt},
    {" 12", std::nullopt},
    {"12 ", std::nullopt},
    {"1 2", std::nullopt},
    {"--1", std::nullopt},
    {"1.5", std::nullopt},
};

TEST(ParseInteger, AcceptsDecimalAndHexRejectsEverythingElse) {
    for (const Case& c : kCases) {
        EXPECT_EQ(platform::ParseInteger(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(StrToInt, ReportsTheTextThatIsNotAnInteger) {
    EXPECT_EQ(platform::StrToInt("-999"), -999);
    for (const char* text : {"12ab", "", "-", "Ш"}) {
        try {
            platform::StrToInt(QString::fromUtf8(text));
            ADD_FAILURE() << text;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(error.what(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

}  // namespace
