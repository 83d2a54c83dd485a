#pragma once

// Decimal numbers of the model file to doubles, the same on every platform:
// no locale is consulted, and the result is the double nearest to the exact
// decimal value (ties to the even mantissa), as std::from_chars gives it
// where the C++ library has it.

#include <string_view>

namespace vokta::xfile::detail {

enum class DecimalStatus {
    Ok,
    Malformed,   // not a number from the first character to the last
    OutOfRange,  // too large for a double, or so small that it rounds to zero
};

struct Decimal {
    DecimalStatus status = DecimalStatus::Malformed;
    double value = 0.0;  // set only with Ok
};

// Reads all of text as an optional '-', digits with an optional point (at
// least one digit on either side), and an optional exponent: 'e' or 'E', an
// optional sign and digits.
Decimal parseDecimal(std::string_view text);

}  // namespace vokta::xfile::detail
