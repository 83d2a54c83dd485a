#pragma once

// Decimal numbers to doubles and floats, the same on every platform: no
// locale is consulted, and the result is the number nearest to the exact
// decimal value (ties to the even mantissa), as std::from_chars gives it
// where the C++ library has it. The model file and the scripts read their
// numbers with it.

#include <string_view>

namespace vokta {

enum class DecimalStatus {
    Ok,
    Malformed,   // not a number from the first character to the last
    OutOfRange,  // too large for the type, or so small that it rounds to zero
};

template <class Number> struct Decimal {
    DecimalStatus status = DecimalStatus::Malformed;
    Number value = 0;  // set only with Ok
};

// Reads all of text as an optional '-', digits with an optional point (at
// least one digit on either side), and an optional exponent: 'e' or 'E', an
// optional sign and digits. Number is double or float; a float is rounded
// from the exact value, not through a double (which can miss by one).
template <class Number> Decimal<Number> parseDecimal(std::string_view text);

}  // namespace vokta
