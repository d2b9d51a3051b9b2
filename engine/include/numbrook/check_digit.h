#pragma once

#include <string>
#include <string_view>

namespace numbrook {

// IMEI: decimal bodies, modulus 10. MEID: hexadecimal bodies, modulus 16.
enum class Mode { Imei, Meid };

// The check character of `body` (bytes in the Chinese code page): one
// character, or the empty text when the body is shorter than 14 bytes. In
// MEID mode a body holding anything but hexadecimal digits, or whose digit
// sum reaches 256, also yields the empty text.
std::string ComputeCheckDigit(std::string_view body, Mode mode);

}  // namespace numbrook
