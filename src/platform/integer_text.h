// Integer text as the operator and the INI file write it: an optional sign, then decimal digits
// or hexadecimal digits after "$", "0x" or "0X".
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// The 32-bit value of the text, or nothing when the text is not such an integer (empty, a lone
// sign, blanks, other characters, a decimal value outside the 32-bit range). Hexadecimal
// values take up to 8 digits and fill all 32 bits ("$FFFFFFFF" is -1).
std::optional<int32_t> ParseInteger(std::string_view text);

// The value of a text the operator typed; throws std::runtime_error
// "'<text>' is not a valid integer value" when it is not an integer.
int32_t StrToInt(const QString& text);

}  // namespace platform
