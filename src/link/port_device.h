// Which device file stands for a COM port name.
#pragma once

#include <string>

// "COMn" is /dev/ttyS{n-1} unless the [PORTS] section of the program's VE17.ini names another
// device for it (COM1=/dev/ttyUSB0). Any other name has no device: the result is empty.
std::string DeviceForPort(const std::string& comName);
