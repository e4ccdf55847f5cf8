#include "port_mapping.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "platform/profile.h"

namespace ve17sim {
namespace {

constexpr char kDevice[] = "/dev/pts/77";

class SimPortMapping : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(::mkdtemp(dir_), nullptr);
        ini_ = std::string(dir_) + "/VE17.ini";
    }
    void TearDown() override {
        std::remove(ini_.c_str());
        ::rmdir(dir_);
    }

    void Write(const std::string& bytes) { std::ofstream(ini_, std::ios::binary) << bytes; }

    std::optional<std::string> Contents() const {
        std::ifstream in(ini_, std::ios::binary);
        if (!in) {
            return std::nullopt;
        }
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::string Mapped(const std::string& port) const {
        return platform::PrivateProfile(ini_).ReadString("PORTS", port, "<none>");
    }

    char dir_[32] = "/tmp/ve17-sim-ini-XXXXXX";
    std::string ini_;
};

TEST_F(SimPortMapping, MapsThePortAndPutsTheFileBackByteForByte) {
    const std::optional<std::string> originals[] = {
        std::nullopt,  // no INI yet
        "[USER]\r\nNAME=Ivanov\r\n",
        "[PORTS]\nCOM2=/dev/ttyUSB1\n[CONFIG]\nLINK_PORT=COM1",  // no line end at the end
        "[ports]\r\n  com1 = \"/dev/ttyUSB0\" \r\n; hand-made\r\n",
    };
    for (const std::optional<std::string>& original : originals) {
        if (original) {
            Write(*original);
        }
        {
            PortMapping mapping(ini_, "COM1", kDevice);
            EXPECT_EQ(Mapped("COM1"), kDevice) << original.value_or("<no file>");
        }
        EXPECT_EQ(Contents(), original);
        std::remove(ini_.c_str());
    }
}

TEST_F(SimPortMapping, FileChangedMeanwhileGetsOnlyTheKeyBack) {
    struct Case {
        std::string original;
        std::string expected;  // after the recorder changed [CONFIG] while the simulator ran
    };
    const Case cases[] = {
        {"[CONFIG]\nLINK_PORT=COM1\n", "[CONFIG]\nLINK_PORT=COM3\n[PORTS]\n"},
        {"[PORTS]\nCOM1=/dev/ttyUSB0\n[CONFIG]\nLINK_PORT=COM1\n",
         "[PORTS]\nCOM1=/dev/ttyUSB0\n[CONFIG]\nLINK_PORT=COM3\n"},
        {"[Ports]\nCom1=\n[CONFIG]\nLINK_PORT=COM1\n",
         "[Ports]\nCom1=\n[CONFIG]\nLINK_PORT=COM3\n"},
    };
    for (const Case& c : cases) {
        Write(c.original);
        PortMapping mapping(ini_, "COM1", kDevice);
        ASSERT_TRUE(platform::PrivateProfile(ini_).WriteString("CONFIG", "LINK_PORT", "COM3"));
        EXPECT_TRUE(mapping.Restore());
        EXPECT_EQ(Contents(), c.expected) << c.original;
    }
}

TEST_F(SimPortMapping, PortPointedElsewhereMeanwhileIsLeftAlone) {
    Write("[PORTS]\nCOM1=/dev/ttyS0\n");
    PortMapping mapping(ini_, "COM1", kDevice);
    ASSERT_TRUE(platform::PrivateProfile(ini_).WriteString("PORTS", "COM1", "/dev/pts/5"));
    EXPECT_TRUE(mapping.Restore());
    EXPECT_EQ(Mapped("COM1"), "/dev/pts/5");
}

TEST_F(SimPortMapping, RemovingAKeyTouchesNoOtherLine) {
    Write("[PORTS]\r\nCOM2=/dev/x\r\n com1 =/dev/y\r\nCOM3=/dev/z\r\n[OTHER]\r\nCOM1=keep\r\n");
    ASSERT_TRUE(RemoveProfileKey(ini_, "Ports", "COM1"));
    EXPECT_EQ(Contents(), "[PORTS]\r\nCOM2=/dev/x\r\nCOM3=/dev/z\r\n[OTHER]\r\nCOM1=keep\r\n");
}

TEST_F(SimPortMapping, NamesThatCannotBeKeysAreRefused) {
    for (const char* name : {"", " COM1", "COM1=", "[COM1]", "COM\n1", "CO;M1"}) {
        EXPECT_THROW(PortMapping(ini_, name, kDevice), std::invalid_argument) << name;
    }
    EXPECT_FALSE(Contents().has_value());
}

TEST_F(SimPortMapping, UnwritableIniIsAnError) {
    EXPECT_THROW(PortMapping(std::string(dir_) + "/missing/VE17.ini", "COM1", kDevice),
                 std::runtime_error);
}

}  // namespace
}  // namespace ve17sim
