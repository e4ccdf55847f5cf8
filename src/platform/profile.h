// Private-profile (INI) files with the Windows rules: case-insensitive sections and keys,
// values trimmed and unquoted, edits that keep every other line of the file. The file is read
// only when it is a regular file (never through a link, never a FIFO) of at most
// kMaxProfileBytes, and replaced by a new file renamed over it.
// Values are raw 8-bit text (code page 1251 in this program's files).
// Lines may end in "\r\n" or "\n"; new lines take the file's own line end ("\r\n" in a file
// that has none yet). Every write replaces the whole file in one step, never leaving half of it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace platform {

// A profile is a few hundred bytes; a larger file than this is not read, as if it could not be.
inline constexpr long long kMaxProfileBytes = 256 * 1024;

// The rules over a profile's bytes, as the file's reader and writer apply them.
// The value of section/key in `content`, at most 2047 characters; the default when missing.
std::string ProfileValue(const std::string& content, const std::string& section,
                         const std::string& key, const std::string& defaultValue);
// `content` with section/key set to `value` (line breaks in it become blanks).
std::string WithProfileValue(const std::string& content, const std::string& section,
                             const std::string& key, const std::string& value);

// The reads and writes of a profile, wherever its bytes are.
class TProfile {
  public:
    virtual ~TProfile() = default;

    // The value of section/key, at most 2047 characters; the default when missing or when the
    // file cannot be read.
    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) const = 0;

    // Sign and decimal digits, or hex after "$", "0x", "0X"; anything else gives the default.
    int32_t ReadInt(const std::string& section, const std::string& key, int32_t defaultValue) const;

    // Replaces the key in its section, adds a missing key at the end of its section and a missing
    // section at the end of the file. Returns false when the file cannot be read or written.
    virtual bool WriteString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
};

// A profile file; every write replaces the whole file.
class PrivateProfile final : public TProfile {
  public:
    explicit PrivateProfile(std::string path);

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// A profile's bytes in memory, under the same rules: for checking the rules on any bytes
// without a file.
class MemoryProfile final : public TProfile {
  public:
    explicit MemoryProfile(std::string content) : content_(std::move(content)) {}

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

    const std::string& Content() const { return content_; }

  private:
    std::string content_;
};

}  // namespace platform
