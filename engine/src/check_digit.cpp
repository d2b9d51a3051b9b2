#include "numbrook/check_digit.h"

#include "check_accumulator.h"

namespace numbrook {

std::string ComputeCheckDigit(std::string_view body, Mode mode) {
    if (body.size() < detail::CheckAccumulator::kMinimumBodyLength) return {};
    detail::CheckAccumulator accumulator(mode);
    for (char c : body) accumulator.add(static_cast<unsigned char>(c));
    return accumulator.result();
}

}  // namespace numbrook
