#include <gtest/gtest.h>

#include "profile_test_support.h"

namespace {

struct ReadCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    std::string expected;
};

const std::string kDefault = "<default>";

const ReadCase kReadCases[] = {
    {"plain", "[USER]\nNAME=Иванов\n", "USER", "NAME", "Иванов"},
    {"lower-case section and key", "[user]\nforce_scale=200\n", "USER", "FORCE_SCALE", "200"},
    {"mixed-case lookup", "[USER]\nNAME=a\n", "User", "name", "a"},
    {"blanks and tabs around", "[USER]\n  NAME \t=\t  a b  \t\n", "USER", "NAME", "a b"},
    {"blanks in the header", "  [ USER ]  \nNAME=a\n", "USER", "NAME", "a"},
    {"double quotes", "[USER]\nNAME=\"  a \"\n", "USER", "NAME", "  a "},
    {"single quotes", "[USER]\nNAME='a'\n", "USER", "NAME", "a"},
    {"unmatched quotes stay", "[USER]\nNAME=\"a'\n", "USER", "NAME", "\"a'"},
    {"lone quote stays", "[USER]\nNAME=\"\n", "USER", "NAME", "\""},
    {"value after the first =", "[USER]\nNAME=a=b\n", "USER", "NAME", "a=b"},
    {"present but empty", "[USER]\nNAME=\n", "USER", "NAME", ""},
    {"missing key", "[USER]\nMACHINE=m\n", "USER", "NAME", kDefault},
    {"key of another section", "[CONFIG]\nNAME=x\n[USER]\n", "USER", "NAME", kDefault},
    {"key before any section", "NAME=x\n[USER]\n", "USER", "NAME", kDefault},
    {"missing section", "[CONFIG]\nLINK_PORT=COM2\n", "USER", "NAME", kDefault},
    {"line without = is no key", "[USER]\nNAME\n", "USER", "NAME", kDefault},
    {"first of two keys", "[USER]\nNAME=a\nNAME=b\n", "USER", "NAME", "a"},
    {"CRLF lines", "[USER]\r\nNAME=a\r\nMACHINE=m\r\n", "USER", "NAME", "a"},
    {"last line unterminated", "[USER]\nNAME=a", "USER", "NAME", "a"},
    {"UTF-8 mark before the first section", "\xEF\xBB\xBF[USER]\nNAME=a\n", "USER", "NAME", "a"},
    {"comments and junk around", "; note\n[USER]\njunk line\n;NAME=x\nNAME=a\n", "USER", "NAME",
     "a"},
    {"3000 characters", "[USER]\nNAME=" + std::string(3000, 'x') + "\n", "USER", "NAME",
     std::string(2047, 'x')},
};

class ProfileRead : public ProfileFileTest {};

TEST_F(ProfileRead, FindsValuesWithThePrivateProfileRules) {
    for (const ReadCase& c : kReadCases) {
        WriteFile(c.file);
        EXPECT_EQ(Profile().ReadString(c.section, c.key, kDefault), c.expected) << c.name;
    }
}

TEST_F(ProfileRead, MissingFileOrFolderGivesDefaults) {
    EXPECT_EQ(Profile().ReadString("USER", "NAME", "d"), "d");
    EXPECT_EQ(platform::PrivateProfile("/nonexistent/dir/x.ini").ReadInt("USER", "N", 7), 7);
}

TEST_F(ProfileRead, NumbersAreUnquotedIntegersOrTheDefault) {
    WriteFile("[USER]\nA=\"0x1F4\"\nB=12a\nC=\nD=-40000\n");
    EXPECT_EQ(Profile().ReadInt("USER", "A", 1), 500);
    EXPECT_EQ(Profile().ReadInt("USER", "B", 100), 100);
    EXPECT_EQ(Profile().ReadInt("USER", "C", 100), 100);
    EXPECT_EQ(Profile().ReadInt("USER", "D", 100), -40000);
    EXPECT_EQ(Profile().ReadInt("USER", "E", 100), 100);
}

}  // namespace
