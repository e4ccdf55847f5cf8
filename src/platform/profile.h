// Private-profile (INI) files with the Windows rules: case-insensitive sections and keys,
// values trimmed and unquoted, edits that keep every other line of the file.
// Values are raw 8-bit text (code page 1251 in this program's files).
// Lines may end in "\r\n" or "\n"; new lines take the file's own line end ("\r\n" in a file
// that has none yet). Every write replaces the whole file in one step, never leaving half of it.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

class PrivateProfile {
  public:
    explicit PrivateProfile(std::string path);

    // The value of section/key, at most 2047 characters; the default when missing.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    // Sign and decimal digits, or hex after "$", "0x", "0X"; anything else gives the default.
    int32_t ReadInt(const std::string& section, const std::string& key, int32_t defaultValue) const;

    // Replaces the key in its section, adds a missing key at the end of its section and a missing
    // section at the end of the file. Returns false when the file cannot be written.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace platform
