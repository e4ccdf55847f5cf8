// Points a COM name at the simulator's line through the [PORTS] section of a VE17.ini, and puts
// the file back as it was when the simulator ends.
#pragma once

#include <optional>
#include <string>

namespace ve17sim {

class PortMapping {
  public:
    // Writes portName=device into [PORTS]. Throws std::invalid_argument for a name that cannot
    // be an INI key and std::runtime_error when the file cannot be read or written.
    PortMapping(std::string iniPath, std::string portName, std::string device);
    // Restore(), errors ignored.
    ~PortMapping();
    PortMapping(const PortMapping&) = delete;
    PortMapping& operator=(const PortMapping&) = delete;

    // Puts the file back: byte for byte when nobody else changed it meanwhile, otherwise only
    // the key (the previous value back, or the key removed), and only while it still names
    // our device. Runs once; false when the file could not be written.
    bool Restore();

  private:
    std::string iniPath_;
    std::string portName_;
    std::string device_;
    std::optional<std::string> original_;  // the file's bytes before; none when it did not exist
    std::optional<std::string> previous_;  // the key's value before; none when it was missing
    std::string written_;                  // the file's bytes right after our write
    bool restored_ = false;
};

// Removes the first line of key in the first section of that name (both compared without regard
// to case, as the recorder reads them). False when the file could not be written.
bool RemoveProfileKey(const std::string& path, const std::string& section, const std::string& key);

}  // namespace ve17sim
