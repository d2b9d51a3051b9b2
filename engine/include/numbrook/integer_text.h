#pragma once

#include <cstdint>
#include <string_view>

namespace numbrook {

// Reads the leading integer of an edit-box text given in GB18030: full-width
// digits, signs and the ideographic space count as their ASCII forms, leading
// blanks are skipped, then an optional sign and decimal digits are read. A
// text without a leading number reads as 0; values beyond the 32-bit range
// saturate at the nearest limit.
std::int32_t ReadEditInteger(std::string_view gbText);

}  // namespace numbrook
