#include "port_mapping.h"

#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/file_replace.h"
#include "platform/profile.h"
#include "platform/regular_file.h"

namespace ve17sim {

namespace {

constexpr char kSection[] = "PORTS";
constexpr std::string_view kBlanks = " \t\r\n\v\f";

// The INI is read as the recorder reads it: never through a link, only a regular file, bounded.
std::optional<std::string> ReadFile(const std::string& path) {
    const platform::TFileRead read =
        platform::ReadRegularFile(QString::fromStdString(path), platform::kMaxProfileBytes);
    if (read.error == ENOENT) {
        return std::nullopt;
    }
    if (read.error != 0 || read.size > platform::kMaxProfileBytes) {
        throw std::runtime_error("cannot read " + path);
    }
    return read.bytes.toStdString();
}

// The new bytes go to a file beside the old one that then replaces it, so a full disk never
// leaves a half-written INI; the old file's permissions are kept.
bool WriteFile(const std::string& path, const std::string& bytes) {
    return platform::WriteWholeFile(QString::fromStdString(path), QByteArray::fromStdString(bytes))
        .isEmpty();
}

std::string_view Trim(std::string_view s) {
    const size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::vector<std::string> SplitLines(const std::string& content) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        const size_t nl = content.find('\n', start);
        const size_t end = nl == std::string::npos ? content.size() : nl + 1;
        lines.push_back(content.substr(start, end - start));
        start = end;
    }
    return lines;
}

bool IsSectionLine(std::string_view line) {
    const std::string_view t = Trim(line);
    return t.starts_with('[') && t.find(']') != std::string_view::npos;
}

std::string_view SectionOf(std::string_view line) {
    const std::string_view t = Trim(line);
    return Trim(t.substr(1, t.rfind(']') - 1));
}

bool IsKeyLine(std::string_view line, std::string_view key) {
    const size_t eq = line.find('=');
    return eq != std::string_view::npos && SameName(Trim(line.substr(0, eq)), key);
}

void CheckKeyName(const std::string& name) {
    const bool unsafe = name.empty() || Trim(name) != name ||
                        name.find_first_of("=[];") != std::string::npos ||
                        std::any_of(name.begin(), name.end(),
                                    [](unsigned char c) { return c < 0x20 || c == 0x7F; });
    if (unsafe) {
        throw std::invalid_argument("'" + name + "' cannot be a key of the [PORTS] section");
    }
}

}  // namespace

bool RemoveProfileKey(const std::string& path, const std::string& section, const std::string& key) {
    const std::optional<std::string> content = ReadFile(path);
    if (!content) {
        return true;
    }
    std::vector<std::string> lines = SplitLines(*content);
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (IsSectionLine(lines[i])) {
            if (inSection) {
                break;
            }
            inSection = SameName(SectionOf(lines[i]), section);
        } else if (inSection && IsKeyLine(lines[i], key)) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            std::string rest;
            for (const std::string& line : lines) {
                rest += line;
            }
            return WriteFile(path, rest);
        }
    }
    return true;
}

PortMapping::PortMapping(std::string iniPath, std::string portName, std::string device)
    : iniPath_(std::move(iniPath)), portName_(std::move(portName)), device_(std::move(device)) {
    CheckKeyName(portName_);
    original_ = ReadFile(iniPath_);
    // A key cannot hold a line break, so this default tells a missing key from an empty one.
    const std::string missing = "\n";
    platform::PrivateProfile ini(iniPath_);
    const std::string value = ini.ReadString(kSection, portName_, missing);
    if (value != missing) {
        previous_ = value;
    }
    if (!ini.WriteString(kSection, portName_, device_)) {
        throw std::runtime_error("cannot write " + iniPath_);
    }
    written_ = ReadFile(iniPath_).value_or("");
}

PortMapping::~PortMapping() {
    try {
        Restore();
    } catch (...) {
        // Nothing more can be done for the file at this point.
    }
}

bool PortMapping::Restore() {
    if (restored_) {
        return true;
    }
    restored_ = true;
    const std::optional<std::string> now = ReadFile(iniPath_);
    if (now && *now == written_) {
        if (!original_) {
            return std::remove(iniPath_.c_str()) == 0;
        }
        return WriteFile(iniPath_, *original_);
    }
    platform::PrivateProfile ini(iniPath_);
    if (!now || ini.ReadString(kSection, portName_, "") != device_) {
        return true;  // someone has pointed the port elsewhere since; leave it to them
    }
    if (previous_) {
        return ini.WriteString(kSection, portName_, *previous_);
    }
    return RemoveProfileKey(iniPath_, kSection, portName_);
}

}  // namespace ve17sim
