#include "platform/integer_text.h"

#include <stdexcept>

namespace platform {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<uint32_t> ParseHex(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<uint32_t>(d);
    }
    return value;
}

// Magnitude of a decimal number; at most 2^31 so the negative limit still fits.
std::optional<uint32_t> ParseDecimal(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > 0x80000000ULL) {
            return std::nullopt;
        }
    }
    return static_cast<uint32_t>(value);
}

}  // namespace

std::optional<int32_t> ParseInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::optional<uint32_t> magnitude;
    if (text.starts_with('$')) {
        magnitude = ParseHex(text.substr(1));
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        magnitude = ParseHex(text.substr(2));
    } else {
        magnitude = ParseDecimal(text);
        if (magnitude && *magnitude == 0x80000000U && !negative) {
            return std::nullopt;
        }
    }
    if (!magnitude) {
        return std::nullopt;
    }
    // Two's complement: hexadecimal values wrap into the negative half.
    const uint32_t bits = negative ? 0U - *magnitude : *magnitude;
    return static_cast<int32_t>(bits);
}

int32_t StrToInt(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    const auto value = ParseInteger(std::string_view(bytes.constData(), bytes.size()));
    if (!value) {
        throw std::runtime_error("'" + bytes.toStdString() + "' is not a valid integer value");
    }
    return *value;
}

}  // namespace platform
