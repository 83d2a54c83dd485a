// The decimal reader against std::from_chars, the reference where the C++
// library has it: the same status and the same bits, for doubles and floats,
// for texts of the characters the model file's and the scripts' numbers are
// made of (digits, '.', '-', '+', 'e', 'E').

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "render/model/decimal.h"

namespace vokta {
namespace {

// What from_chars makes of all of text, in the reader's terms.
template <class Number> Decimal<Number> reference(const std::string& text)
{
    Number value = 0;
    const char* end = text.data() + text.size();
    const auto [last, code] = std::from_chars(text.data(), end, value);
    if (last != end || code == std::errc::invalid_argument)
        return {DecimalStatus::Malformed};
    if (code == std::errc::result_out_of_range)
        return {DecimalStatus::OutOfRange};
    return {DecimalStatus::Ok, value};
}

template <class Number> void expectSameAsReference(const std::string& text)
{
    const Decimal<Number> expected = reference<Number>(text);
    const Decimal<Number> got = parseDecimal<Number>(text);
    EXPECT_EQ(got.status, expected.status) << '"' << text << "\" as " << sizeof(Number) << "-byte number";
    if (expected.status == DecimalStatus::Ok && got.status == DecimalStatus::Ok) {
        EXPECT_EQ(std::memcmp(&got.value, &expected.value, sizeof(Number)), 0)
            << '"' << text << "\": " << got.value << " instead of " << expected.value;
    }
}

void expectBothAsReference(const std::string& text)
{
    expectSameAsReference<double>(text);
    expectSameAsReference<float>(text);
}

std::string printed(const char* format, int precision, long double value)
{
    std::vector<char> text(1200);
    std::snprintf(text.data(), text.size(), format, precision, value);
    return text.data();
}

// The exact decimal value halfway between a positive number and the next one
// up, in 800 digits (x86's long double holds it exactly).
template <class Number> std::string halfwayAbove(Number value)
{
    const Number next = std::nextafter(value, std::numeric_limits<Number>::infinity());
    const long double halfway = (static_cast<long double>(value) + static_cast<long double>(next)) / 2;
    return printed("%.*Le", 800, halfway);
}

// The mantissa of a number printed with %e cut to keep digits, which only
// ever makes it smaller.
std::string truncated(const std::string& text, std::size_t keep)
{
    const std::size_t e = text.find('e');
    return text.substr(0, std::min(e, keep + 1)) + text.substr(e);
}

// The same number a little larger: a 1 far past its last digit.
std::string nudgedUp(const std::string& text)
{
    const std::size_t e = text.find('e');
    return text.substr(0, e) + std::string(300, '0') + "1" + text.substr(e);
}

TEST(DecimalReader, AgreesWithFromCharsOnTrickyNumbers)
{
    const std::string kTable[] = {
        // forms and malformed texts
        "0",
        "-0",
        "00",
        "0.0",
        ".5",
        "5.",
        "-.5",
        "-5.",
        "1e5",
        "1E5",
        "1e+5",
        "1e-5",
        "1.5e0",
        "-1.25E-2",
        "007",
        "0.000",
        ".",
        "-",
        "-.",
        "..5",
        "1..2",
        "1.2.3",
        "e5",
        ".e5",
        "1e",
        "1e+",
        "1e-",
        "1e5e5",
        "1-2",
        "--1",
        "+1",
        "1+",
        "1e--5",
        "1e+-5",
        "",
        "0e999999999",
        "-0e-999999999",
        "0.0e5",
        // the ends of the range
        "1.7976931348623157e308",
        "1.7976931348623158e308",
        "1.7976931348623159e308",
        "-1.7976931348623159e308",
        "179769313486231580793728971405303415079934132710037826936173778980444968292764750743735024744405024e210",
        "1e308",
        "1e309",
        "1e310",
        "9e309",
        "1e400",
        "1e999999999999",
        "-1e400",
        "2.2250738585072014e-308",
        "2.2250738585072011e-308",
        "2.2250738585072012e-308",
        "4.9406564584124654e-324",
        "5e-324",
        "3e-324",
        "2.4703282292062328e-324",
        "2.4703282292062327e-324",
        "2.4703282292062327208828439643411068618252990130716238221"
        "2796e-324",
        "1e-323",
        "1e-324",
        "1e-325",
        "1e-400",
        "1e-999999999999",
        "-1e-400",
        "0.000000000000000000000001e-300",
        // exact values, and halfway cases between small integers and powers of two
        "9007199254740992",
        "9007199254740993",
        "9007199254740994",
        "9007199254740995",
        "9007199254740993.0000001",
        "18014398509481989",
        "18014398509481990",
        "1e22",
        "1e23",
        "123456789012345678",
        "0.1",
        "0.2",
        "0.3",
        "3.14159265358979323846264338327950288",
        "2.718281828459045235360287471352662497757",
        "1.00000000000000011102230246251565404236316680908203125",
        "1.00000000000000011102230246251565404236316680908203124",
        "1.00000000000000011102230246251565404236316680908203126",
        "1.00000000000000033306690738754696212708950042724609375",
        // digits long past what a double needs, with and without a tail
        "0." + std::string(1000, '0') + "1",
        "1" + std::string(1000, '0'),
        "1" + std::string(400, '0'),
        "0.1" + std::string(2000, '0'),
        "9007199254740993" + std::string(900, '0') + "e-900",
        "9007199254740993." + std::string(900, '0') + "1",
        std::string(1500, '9') + "e-1500",
        // numbers as model files write them
        "1.000000",
        "-1.000000",
        "0.500000",
        "10.000000",
        "-0.000000",
        "0.577350",
        "0.707107",
        "1e-6",
        "1.5E+3",
    };
    for (const std::string& text : kTable)
        expectBothAsReference(text);
}

// Every form of numbers spread over each type's whole range, subnormals
// included: rounded to a few or many digits, written without an exponent,
// and the halfway points between neighbours, exactly, a little above and
// a little below.
template <class Number, class Bits> void expectAgreementAcross(int count)
{
    std::mt19937_64 random(20260101);
    constexpr Bits kSignless = static_cast<Bits>(~Bits{0}) >> 1;
    constexpr Bits kMantissa = (Bits{1} << (std::numeric_limits<Number>::digits - 1)) - 1;
    for (int i = 0; i < count; ++i) {
        Bits bits = static_cast<Bits>(random()) & kSignless;
        if (i % 7 == 0)
            bits &= kMantissa;
        Number value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value) || value == std::numeric_limits<Number>::max())
            continue;
        for (const int digits : {6, 9, 15, 16, 17, 25})
            expectBothAsReference(printed("%.*Le", digits - 1, value));
        expectBothAsReference(printed("-%.*Lf", 20, value));
        const std::string halfway = halfwayAbove(value);
        expectBothAsReference(halfway);
        expectBothAsReference(nudgedUp(halfway));
        expectBothAsReference(truncated(halfway, 40));
    }
}

TEST(DecimalReader, AgreesWithFromCharsAcrossTheDoubles)
{
    expectAgreementAcross<double, std::uint64_t>(3000);
}

TEST(DecimalReader, AgreesWithFromCharsAcrossTheFloats)
{
    expectAgreementAcross<float, std::uint32_t>(3000);
}

}  // namespace
}  // namespace vokta
