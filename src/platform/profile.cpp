#include "platform/profile.h"

#include <QFile>
#include <cerrno>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "platform/file_replace.h"
#include "platform/integer_text.h"
#include "platform/regular_file.h"

namespace platform {
namespace {

constexpr std::size_t kMaxText = 2047;
constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// A file with no line end yet gets the Windows one, so it stays readable where it came from.
constexpr std::string_view kDefaultEol = "\r\n";

QString FileName(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The file's bytes; a missing file is empty. False when the name is there but is no regular
// file, or one too large, or cannot be read.
bool Load(const std::string& path, std::string& content) {
    const TFileRead read = ReadRegularFile(FileName(path), kMaxProfileBytes);
    content = read.bytes.toStdString();
    if (read.error == ENOENT) {
        return true;
    }
    return read.error == 0 && read.size <= kMaxProfileBytes;
}

std::string_view DetectEol(std::string_view content) {
    const std::size_t nl = content.find('\n');
    if (nl == std::string_view::npos) {
        return kDefaultEol;
    }
    return nl > 0 && content[nl - 1] == '\r' ? std::string_view("\r\n") : std::string_view("\n");
}

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

// The line without its line end and, on the first line, without a UTF-8 mark.
std::string_view Body(std::string_view line, bool first) {
    std::string_view body = line;
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) {
        body.remove_suffix(1);
    }
    if (first && body.starts_with(kUtf8Mark)) {
        body.remove_prefix(kUtf8Mark.size());
    }
    return body;
}

std::optional<std::string_view> SectionName(std::string_view body) {
    const std::string_view t = Trim(body);
    if (!t.starts_with('[')) {
        return std::nullopt;
    }
    const std::size_t close = t.rfind(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(t.substr(1, close - 1));
}

std::optional<std::string_view> KeyName(std::string_view body) {
    const std::size_t eq = body.find('=');
    if (eq == std::string_view::npos || SectionName(body)) {
        return std::nullopt;
    }
    return Trim(body.substr(0, eq));
}

std::string_view Value(std::string_view body) {
    std::string_view v = Trim(body.substr(body.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return v;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// Where a key is, or where it would go: the first section of that name counts, and in it the
// first line of that key. Lines are views into the file's bytes, each with its own line end
// ("\n", "\r\n" or none for an unterminated last line), so lines that are not touched are
// written back byte for byte.
struct Place {
    std::optional<std::string_view> section;
    std::optional<std::string_view> key;
    std::string_view lastKey;  // last key line of the section, or its header
};

Place Find(std::string_view content, std::string_view section, std::string_view key) {
    Place place;
    for (std::size_t start = 0; start < content.size();) {
        const std::size_t nl = content.find('\n', start);
        const std::size_t end = nl == std::string_view::npos ? content.size() : nl + 1;
        const std::string_view line = content.substr(start, end - start);
        const std::string_view body = Body(line, start == 0);
        start = end;
        if (const auto name = SectionName(body)) {
            if (place.section) {
                break;
            }
            if (SameName(*name, section)) {
                place.section = line;
                place.lastKey = line;
            }
            continue;
        }
        const auto name = place.section ? KeyName(body) : std::nullopt;
        if (!name) {
            continue;
        }
        place.lastKey = line;
        if (SameName(*name, key)) {
            place.key = line;
            break;
        }
    }
    return place;
}

std::string_view LineEnd(std::string_view line) {
    if (line.ends_with("\r\n")) {
        return "\r\n";
    }
    return line.ends_with('\n') ? "\n" : "";
}

// One line from its pieces, appended in order. Prepending to a temporary string ("[" + text)
// makes GCC 12 at -O3 warn of an overlapping copy that cannot happen; appending never does.
std::string Join(std::initializer_list<std::string_view> pieces) {
    std::string line;
    for (const std::string_view piece : pieces) {
        line.append(piece);
    }
    return line;
}

// The content with the key put in place: its value replaced, the key added after the last key
// of its section, or the section added at the end of the file.
std::string Put(std::string_view content, std::string_view section, std::string_view key,
                std::string_view value) {
    const std::string_view eol = DetectEol(content);
    const Place place = Find(content, section, key);
    const auto startOf = [content](std::string_view line) {
        return static_cast<std::size_t>(line.data() - content.data());
    };
    if (place.key) {
        const std::string_view line = *place.key;
        const std::size_t start = startOf(line);
        return Join({content.substr(0, start), line.substr(0, line.find('=') + 1), value,
                     LineEnd(line), content.substr(start + line.size())});
    }
    const std::string keyLine = Join({key, "=", value, eol});
    if (place.section) {
        const std::string_view last = place.lastKey;
        const std::size_t end = startOf(last) + last.size();
        return Join({content.substr(0, end), last.ends_with('\n') ? "" : eol, keyLine,
                     content.substr(end)});
    }
    const bool unterminated = !content.empty() && !content.ends_with('\n');
    return Join({content, unterminated ? eol : "", "[", section, "]", eol, keyLine});
}

}  // namespace

std::string ProfileValue(const std::string& content, const std::string& section,
                         const std::string& key, const std::string& defaultValue) {
    const Place place = Find(content, section, key);
    const std::string_view value =
        place.key ? Value(Body(*place.key, place.key->data() == content.data())) : defaultValue;
    return std::string(value.substr(0, kMaxText));
}

std::string WithProfileValue(const std::string& content, const std::string& section,
                             const std::string& key, const std::string& value) {
    // A value is one line: line breaks in it would forge further keys.
    std::string oneLine = value;
    for (char& c : oneLine) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return Put(content, section, key, oneLine);
}

PrivateProfile::PrivateProfile(std::string path) : path_(std::move(path)) {}

std::string PrivateProfile::ReadString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue) const {
    std::string content;
    if (!Load(path_, content)) {
        content.clear();
    }
    return ProfileValue(content, section, key, defaultValue);
}

int32_t TProfile::ReadInt(const std::string& section, const std::string& key,
                          int32_t defaultValue) const {
    return ParseInteger(ReadString(section, key, "")).value_or(defaultValue);
}

// The whole new content goes to a new file that then replaces the old one: a full disk or a
// crash never leaves a half-written file.
bool PrivateProfile::WriteString(const std::string& section, const std::string& key,
                                 const std::string& value) {
    std::string content;
    if (!Load(path_, content)) {
        return false;
    }
    const std::string edited = WithProfileValue(content, section, key, value);
    return WriteWholeFile(FileName(path_), QByteArray::fromStdString(edited)).isEmpty();
}

std::string MemoryProfile::ReadString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue) const {
    return ProfileValue(content_, section, key, defaultValue);
}

bool MemoryProfile::WriteString(const std::string& section, const std::string& key,
                                const std::string& value) {
    content_ = WithProfileValue(content_, section, key, value);
    return true;
}

}  // namespace platform
