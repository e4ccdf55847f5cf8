#include "link/port_device.h"

#include <gtest/gtest.h>

#include "support/program_folder.h"

namespace {

class PortDeviceTest : public ::testing::Test {
  protected:
    void WriteIni(const QByteArray& text) { folder.WriteIni(text); }

    TScratchProgramFolder folder;
};

TEST_F(PortDeviceTest, PortsWithoutAMappingAreTheSerialDevices) {
    WriteIni("[USER]\r\nNAME=x\r\n");
    EXPECT_EQ(DeviceForPort("COM1"), "/dev/ttyS0");
    EXPECT_EQ(DeviceForPort("COM3"), "/dev/ttyS2");
    EXPECT_EQ(DeviceForPort("COM12"), "/dev/ttyS11");
}

TEST_F(PortDeviceTest, PortsSectionNamesTheDevice) {
    WriteIni("[CONFIG]\r\nLINK_PORT=COM2\r\n[PORTS]\r\nCOM2=/dev/ttyUSB0\r\nCOM3=\r\n");
    EXPECT_EQ(DeviceForPort("COM2"), "/dev/ttyUSB0");
    EXPECT_EQ(DeviceForPort("COM1"), "/dev/ttyS0");
    EXPECT_EQ(DeviceForPort("COM3"), "/dev/ttyS2");  // an empty entry maps nothing
}

TEST_F(PortDeviceTest, OtherNamesHaveNoDevice) {
    WriteIni("[PORTS]\r\ncom1=/dev/ttyUSB0\r\nLPT1=/dev/lp0\r\n");
    for (const char* name : {"", "com1", "Com1", "COM", "COM0", "COM01", "COM1 ", " COM1", "LPT1",
                             "COM256", "COM1a", "/dev/ttyS0"}) {
        EXPECT_EQ(DeviceForPort(name), "") << '"' << name << '"';
    }
}

}  // namespace
