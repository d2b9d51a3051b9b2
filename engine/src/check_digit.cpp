#include "numbrook/check_digit.h"

#include "check_accumulator.h"

namespace numbrook {
namespace detail {

char CheckCharacter(std::string_view body, Mode mode) {
    CheckAccumulator accumulator(mode);
    accumulator.addRun(reinterpret_cast<const unsigned char*>(body.data()), body.size());
    return accumulator.character();
}

}  // namespace detail

std::string ComputeCheckDigit(std::string_view body, Mode mode) {
    const char check = detail::CheckCharacter(body, mode);
    return check == '\0' ? std::string() : std::string(1, check);
}

}  // namespace numbrook
