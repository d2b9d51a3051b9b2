#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace numbrook {

// Adds `step` to the serial text `serial`, read in `radix` (10 or 16),
// exactly and whatever its length. Decimal texts keep the width of their
// trailing digit run and may grow; hexadecimal texts keep their width and
// wrap. Returns nothing when the result would fall below zero (the failure
// the window program used to write as "-1").
std::optional<std::string> StepSerial(std::string_view serial, int radix, std::int32_t step);

}  // namespace numbrook
