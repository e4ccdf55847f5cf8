#include "link/port_device.h"

#include <QFile>

#include "platform/profile.h"
#include "platform/program_dir.h"

namespace {

// n of "COMn" for n from 1 to 255 written without leading zeros; 0 for any other name.
int PortNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 6 || name.compare(0, 3, "COM") != 0 || name[3] == '0') {
        return 0;
    }
    int number = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return 0;
        }
        number = number * 10 + (name[i] - '0');
    }
    return number <= 255 ? number : 0;
}

}  // namespace

std::string DeviceForPort(const std::string& comName) {
    const int number = PortNumber(comName);
    if (number == 0) {
        return {};
    }
    const platform::PrivateProfile ini(
        QFile::encodeName(platform::ProgramDir() + "VE17.ini").toStdString());
    const std::string mapped = ini.ReadString("PORTS", comName, "");
    return mapped.empty() ? "/dev/ttyS" + std::to_string(number - 1) : mapped;
}
