// Any bytes as a hand-edited VE17.ini: read, save, save again, read again, through the program's
// own reader and writer of the record over the bytes in memory (the file is these bytes, read
// whole and replaced whole; its own checks are the unit tests').
// - Numbers and flags come back exactly as first read.
// - A text comes back as the reader makes of it as saved: a text is written as it stands (line
//   breaks as blanks) and read without surrounding blanks and without one pair of enclosing
//   quotation marks, so " x " or "'x'" in quotes loses a layer per save. A text that has none
//   of these comes back unchanged.
// - Saving keeps every other line of the file, adds only the system's own keys and sections,
//   and a second save of the same record changes nothing.
#include <QByteArray>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "config/config.h"
#include "platform/cp1251.h"
#include "platform/profile.h"

namespace {

// The reader's blanks; the writer has already turned line breaks into blanks.
constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr qsizetype kMaxText = 2047;
constexpr std::array<std::string_view, 17> kWrittenKeys = {
    "NAME",      "MACHINE",  "SER_NUM", "FORCE_SCALE", "LEN_SCALE",     "LEN_ENABLE",
    "LINK_PORT", "REG_TIME", "FLIN10%", "FLIN50%",     "FLIN100%",      "FORCE_LIN_ENABLE",
    "LLIN10%",   "LLIN50%",  "LLIN75%", "LLIN100%",    "LEN_LIN_ENABLE"};
constexpr std::array<std::string_view, 3> kSections = {"[USER]", "[CONFIG]", "[LINEAR]"};

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_ini: %s\n", what);
        std::abort();
    }
}

std::string_view Trim(std::string_view s, std::string_view blanks) {
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// What the reader makes of a text the writer has just saved.
QString AfterSave(const QString& text) {
    QByteArray written = platform::ToCp1251(text);
    written.replace('\r', ' ').replace('\n', ' ');
    std::string_view value = Trim(std::string_view(written.constData(), written.size()), kBlanks);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    const QByteArray read(value.data(), std::min<qsizetype>(value.size(), kMaxText));
    return platform::FromCp1251(read);
}

TIniFileData AfterSave(TIniFileData record) {
    record.NAME = AfterSave(record.NAME);
    record.MACHINE = AfterSave(record.MACHINE);
    record.LINK_PORT = AfterSave(record.LINK_PORT);
    return record;
}

std::vector<std::string_view> Lines(std::string_view content) {
    std::vector<std::string_view> lines;
    while (!content.empty()) {
        const size_t end = std::min(content.find('\n'), content.size() - 1) + 1;
        lines.push_back(content.substr(0, end));
        content.remove_prefix(end);
    }
    return lines;
}

bool IsWrittenKey(std::string_view key) {
    return std::any_of(kWrittenKeys.begin(), kWrittenKeys.end(), [key](std::string_view k) {
        return k.size() == key.size() &&
               std::equal(k.begin(), k.end(), key.begin(), [](char a, char b) {
                   return a == (b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b);
               });
    });
}

// The line as saved: unchanged, given a line end (the last line), or, for one of the system's
// keys, the same text up to "=" with a new value.
bool Kept(std::string_view before, std::string_view after) {
    if (after == before) {
        return true;
    }
    if (!before.ends_with('\n') && after.starts_with(before) &&
        (after.substr(before.size()) == "\n" || after.substr(before.size()) == "\r\n")) {
        return true;
    }
    const size_t eq = before.find('=');
    if (eq == std::string_view::npos) {
        return false;
    }
    std::string_view key = before.substr(0, eq);
    if (key.starts_with(kUtf8Mark)) {  // the file's first line may carry one
        key.remove_prefix(kUtf8Mark.size());
    }
    return IsWrittenKey(Trim(key, kBlanks)) && after.starts_with(before.substr(0, eq + 1));
}

// A line only the writer can have added: one of its sections or keys.
bool Added(std::string_view line) {
    const std::string_view body = line.substr(0, line.find_first_of("\r\n"));
    if (std::find(kSections.begin(), kSections.end(), body) != kSections.end()) {
        return true;
    }
    const size_t eq = body.find('=');
    return eq != std::string_view::npos && std::find(kWrittenKeys.begin(), kWrittenKeys.end(),
                                                     body.substr(0, eq)) != kWrittenKeys.end();
}

// Every line of the file is still there, in order; the lines between are the writer's own.
void CheckOtherLinesKept(std::string_view original, std::string_view saved) {
    const auto before = Lines(original);
    const auto after = Lines(saved);
    size_t j = 0;
    for (const std::string_view line : before) {
        while (j < after.size() && !Kept(line, after[j])) {
            Check(Added(after[j]), "saving added a line that is not the system's own");
            ++j;
        }
        Check(j < after.size(), "saving lost or changed a line of the file");
        ++j;
    }
    for (; j < after.size(); ++j) {
        Check(Added(after[j]), "saving added a line that is not the system's own");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string original(reinterpret_cast<const char*>(data), size);
    const QString path = QStringLiteral("VE17.ini");
    platform::MemoryProfile ini(original);

    const TIniFileData first = ReadIniRecord(ini);
    WriteIniRecord(first, ini, path);
    const std::string saved = ini.Content();
    CheckOtherLinesKept(original, saved);
    WriteIniRecord(first, ini, path);
    Check(ini.Content() == saved, "a second save of the same record changed the file");
    Check(ReadIniRecord(ini) == AfterSave(first), "the saved record reads back differently");
    return 0;
}
