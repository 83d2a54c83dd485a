#include "render/model/decimal.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace vokta {

namespace {

// A double needs at most 767 significant decimal digits to tell it from
// the halfway points beside it; digits past these only matter as "some
// were not zero".
constexpr std::size_t kKeptDigits = 800;
// An exponent this large already gives infinity or zero; larger ones are not added up.
constexpr std::int64_t kExponentCap = 1'000'000'000;

// An IEEE binary format as bit patterns: positive numbers in order, from 0
// up to infinity, one apart from each neighbour.
struct BinaryFormat {
    int storedMantissaBits;
    std::int64_t smallestPower;  // of the units in the last place of the subnormals
    std::uint64_t infinityBits;
    // Decimal exponents past these give infinity or zero however the digits go.
    std::int64_t largestExponent;
    std::int64_t smallestExponent;
    // Up to this many digits (below 2^(stored bits + 1)) times at most this
    // power of ten, both factors are exact and one multiplication or
    // division rounds once, correctly.
    std::size_t exactDigits;
    int exactPowers;
};

template <class Number> constexpr BinaryFormat kFormat{};
template <> constexpr BinaryFormat kFormat<double>{52, -1074, 0x7FF0000000000000, 309, -325, 15, 22};
template <> constexpr BinaryFormat kFormat<float>{23, -149, 0x7F800000, 39, -46, 7, 10};

constexpr int kLargestExactPower = 22;
constexpr std::array<double, kLargestExactPower + 1> kPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};

// A number's bits and back (std::bit_cast is missing from some C++ libraries).
std::uint64_t bitsOf(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::uint64_t bitsOf(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

template <class Number> Number withBits(std::uint64_t bits)
{
    Number value = 0;
    if constexpr (sizeof(Number) == sizeof(std::uint32_t)) {
        const std::uint32_t narrow = static_cast<std::uint32_t>(bits);
        std::memcpy(&value, &narrow, sizeof value);
    } else {
        std::memcpy(&value, &bits, sizeof value);
    }
    return value;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// An unsigned integer of any size, least significant 32-bit word first.
class BigInteger {
public:
    BigInteger() = default;
    explicit BigInteger(std::uint64_t value)
    {
        for (; value != 0; value >>= 32)
            words_.push_back(static_cast<std::uint32_t>(value));
    }

    void multiplyAdd(std::uint32_t factor, std::uint32_t addend)
    {
        std::uint64_t carry = addend;
        for (std::uint32_t& word : words_) {
            const std::uint64_t product = std::uint64_t{word} * factor + carry;
            word = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0)
            words_.push_back(static_cast<std::uint32_t>(carry));
    }

    void multiplyByPowerOfFive(std::int64_t exponent)
    {
        constexpr int kFivesPerWord = 13;  // 5^13 is the largest power of five below 2^32
        constexpr std::uint32_t kFiveToThirteen = 1220703125;
        for (; exponent >= kFivesPerWord; exponent -= kFivesPerWord)
            multiplyAdd(kFiveToThirteen, 0);
        std::uint32_t rest = 1;
        for (; exponent > 0; --exponent)
            rest *= 5;
        multiplyAdd(rest, 0);
    }

    BigInteger times(const BigInteger& other) const
    {
        BigInteger product;
        product.words_.assign(words_.size() + other.words_.size(), 0);
        for (std::size_t i = 0; i < words_.size(); ++i) {
            std::uint64_t carry = 0;
            for (std::size_t j = 0; j < other.words_.size(); ++j) {
                const std::uint64_t sum = std::uint64_t{words_[i]} * other.words_[j] + product.words_[i + j] + carry;
                product.words_[i + j] = static_cast<std::uint32_t>(sum);
                carry = sum >> 32;
            }
            product.words_[i + other.words_.size()] = static_cast<std::uint32_t>(carry);
        }
        product.trim();
        return product;
    }

    void shiftLeft(std::int64_t bits)
    {
        if (words_.empty() || bits == 0)
            return;
        const std::size_t wholeWords = static_cast<std::size_t>(bits / 32);
        const int rest = static_cast<int>(bits % 32);
        if (rest != 0) {
            std::uint32_t carry = 0;
            for (std::uint32_t& word : words_) {
                const std::uint32_t shifted = (word << rest) | carry;
                carry = word >> (32 - rest);
                word = shifted;
            }
            if (carry != 0)
                words_.push_back(carry);
        }
        words_.insert(words_.begin(), wholeWords, 0);
    }

    // Negative, zero or positive as this is below, equal to or above other.
    int compare(const BigInteger& other) const
    {
        if (words_.size() != other.words_.size())
            return words_.size() < other.words_.size() ? -1 : 1;
        for (std::size_t i = words_.size(); i-- > 0;) {
            if (words_[i] != other.words_[i])
                return words_[i] < other.words_[i] ? -1 : 1;
        }
        return 0;
    }

private:
    void trim()
    {
        while (!words_.empty() && words_.back() == 0)
            words_.pop_back();
    }

    std::vector<std::uint32_t> words_;
};

// A positive decimal digits x 10^exponent, compared exactly with binary
// numbers mantissa x 2^power.
class ExactDecimal {
public:
    ExactDecimal(const std::string& digits, std::int64_t exponent) : exponent_(exponent)
    {
        constexpr std::size_t kDigitsPerStep = 9;
        for (std::size_t at = 0; at < digits.size(); at += kDigitsPerStep) {
            const std::size_t count = std::min(kDigitsPerStep, digits.size() - at);
            std::uint32_t chunk = 0;
            std::uint32_t scale = 1;
            for (std::size_t i = at; i < at + count; ++i) {
                chunk = chunk * 10 + static_cast<std::uint32_t>(digits[i] - '0');
                scale *= 10;
            }
            scaledDigits_.multiplyAdd(scale, chunk);
        }
        // 10^e is 5^e x 2^e: the fives go to whichever side keeps both whole.
        if (exponent > 0)
            scaledDigits_.multiplyByPowerOfFive(exponent);
        else
            fivesOfBinarySide_.multiplyByPowerOfFive(-exponent);
    }

    int compare(std::uint64_t mantissa, std::int64_t power) const
    {
        BigInteger decimal = scaledDigits_;
        BigInteger binary = fivesOfBinarySide_.times(BigInteger(mantissa));
        if (exponent_ >= power)
            decimal.shiftLeft(exponent_ - power);
        else
            binary.shiftLeft(power - exponent_);
        return decimal.compare(binary);
    }

private:
    std::int64_t exponent_;
    BigInteger scaledDigits_;
    BigInteger fivesOfBinarySide_{1};
};

// The exact value of the positive number with these bits (the bits of
// infinity give the next power of two) as mantissa x 2^power.
void decompose(const BinaryFormat& format, std::uint64_t bits, std::uint64_t& mantissa, std::int64_t& power)
{
    const std::int64_t biased = static_cast<std::int64_t>(bits >> format.storedMantissaBits);
    const std::uint64_t hidden = std::uint64_t{1} << format.storedMantissaBits;
    mantissa = bits & (hidden - 1);
    if (biased == 0) {
        power = format.smallestPower;
    } else {
        mantissa |= hidden;
        power = format.smallestPower + biased - 1;
    }
}

// Compares value with the point halfway between the positive numbers with
// bits lower and lower + 1.
int compareWithHalfway(const BinaryFormat& format, const ExactDecimal& value, std::uint64_t lower)
{
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    std::int64_t lowPower = 0;
    std::int64_t highPower = 0;
    decompose(format, lower, low, lowPower);
    decompose(format, lower + 1, high, highPower);
    // Neighbours differ in power by one at most, so the sum fits in 55 bits.
    const std::int64_t power = std::min(lowPower, highPower);
    const std::uint64_t sum = (low << (lowPower - power)) + (high << (highPower - power));
    return value.compare(sum, power - 1);
}

// A double within a few units in the last place of digits x 10^exponent.
double estimate(const std::string& digits, std::int64_t exponent)
{
    constexpr std::size_t kEstimateDigits = 19;
    const std::size_t count = std::min(digits.size(), kEstimateDigits);
    std::uint64_t leading = 0;
    for (std::size_t i = 0; i < count; ++i)
        leading = leading * 10 + static_cast<std::uint64_t>(digits[i] - '0');
    double value = static_cast<double>(leading);
    std::int64_t scale = exponent + static_cast<std::int64_t>(digits.size() - count);
    for (; scale > kLargestExactPower; scale -= kLargestExactPower)
        value *= kPowersOfTen[kLargestExactPower];
    for (; scale < -kLargestExactPower; scale += kLargestExactPower)
        value /= kPowersOfTen[kLargestExactPower];
    return scale >= 0 ? value * kPowersOfTen[static_cast<std::size_t>(scale)]
                      : value / kPowersOfTen[static_cast<std::size_t>(-scale)];
}

// The nearest Number to digits x 10^exponent (no leading zero in digits),
// as bits; the bits of infinity when it is too large for a Number.
template <class Number> std::uint64_t nearest(const std::string& digits, std::int64_t exponent)
{
    const BinaryFormat& format = kFormat<Number>;
    std::uint64_t bits = bitsOf(static_cast<Number>(estimate(digits, exponent)));
    bits = std::min(bits, format.infinityBits - 1);
    const ExactDecimal value(digits, exponent);
    // Steps one number at a time towards the value; a tie goes to the even
    // mantissa, whose bits end in 0 (infinity's bits among them).
    for (;;) {
        if (bits < format.infinityBits) {
            const int above = compareWithHalfway(format, value, bits);
            if (above > 0 || (above == 0 && (bits & 1) != 0)) {
                ++bits;
                continue;
            }
        }
        if (bits > 0) {
            const int above = compareWithHalfway(format, value, bits - 1);
            if (above < 0 || (above == 0 && (bits & 1) != 0)) {
                --bits;
                continue;
            }
        }
        return bits;
    }
}

}  // namespace

template <class Number> Decimal<Number> parseDecimal(std::string_view text)
{
    const BinaryFormat& format = kFormat<Number>;
    std::size_t at = 0;
    const bool negative = at < text.size() && text[at] == '-';
    if (negative)
        ++at;

    // The significant digits (from the first that is not zero) and the power
    // of ten they are multiplied by.
    std::string digits;
    std::int64_t exponent = 0;
    bool droppedNonZero = false;
    std::size_t digitCount = 0;
    const auto takeDigit = [&](char digit, bool afterPoint) {
        ++digitCount;
        if (digits.empty() && digit == '0') {
            exponent -= afterPoint ? 1 : 0;
        } else if (digits.size() < kKeptDigits) {
            digits.push_back(digit);
            exponent -= afterPoint ? 1 : 0;
        } else {
            droppedNonZero = droppedNonZero || digit != '0';
            exponent += afterPoint ? 0 : 1;
        }
    };
    for (; at < text.size() && isDigit(text[at]); ++at)
        takeDigit(text[at], false);
    if (at < text.size() && text[at] == '.') {
        for (++at; at < text.size() && isDigit(text[at]); ++at)
            takeDigit(text[at], true);
    }
    if (digitCount == 0)
        return {};

    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        const bool negativeExponent = at < text.size() && text[at] == '-';
        if (at < text.size() && (text[at] == '-' || text[at] == '+'))
            ++at;
        if (at == text.size() || !isDigit(text[at]))
            return {};
        std::int64_t written = 0;
        for (; at < text.size() && isDigit(text[at]); ++at)
            written = std::min(written * 10 + (text[at] - '0'), kExponentCap);
        exponent += negativeExponent ? -written : written;
    }
    if (at != text.size())
        return {};

    const Number sign = negative ? -1 : 1;
    if (digits.empty())
        return {DecimalStatus::Ok, sign * 0};
    if (droppedNonZero) {
        // Stands for the dropped digits: above every number the kept ones
        // make, below the next, and no halfway point lies between.
        digits.push_back('1');
        --exponent;
    }

    const std::int64_t leadingExponent = exponent + static_cast<std::int64_t>(digits.size()) - 1;
    if (leadingExponent > format.largestExponent || leadingExponent < format.smallestExponent)
        return {DecimalStatus::OutOfRange};
    if (digits.size() <= format.exactDigits && exponent >= -format.exactPowers && exponent <= format.exactPowers) {
        std::uint64_t whole = 0;
        for (const char digit : digits)
            whole = whole * 10 + static_cast<std::uint64_t>(digit - '0');
        const Number power = static_cast<Number>(kPowersOfTen[static_cast<std::size_t>(std::abs(exponent))]);
        const Number exact = static_cast<Number>(whole);
        return {DecimalStatus::Ok, sign * (exponent < 0 ? exact / power : exact * power)};
    }
    const std::uint64_t bits = nearest<Number>(digits, exponent);
    if (bits == 0 || bits == format.infinityBits)
        return {DecimalStatus::OutOfRange};
    return {DecimalStatus::Ok, sign * withBits<Number>(bits)};
}

template Decimal<double> parseDecimal(std::string_view text);
template Decimal<float> parseDecimal(std::string_view text);

}  // namespace vokta
