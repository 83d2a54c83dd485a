#include "play/json.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "render/model/decimal.h"

namespace vokta::play {

namespace {

// Nine significant digits tell every float apart.
constexpr int kFloatDigits = 9;

// A positive number as significant digits d1 d2 d3 ... and the power of ten
// of the first: d1.d2d3... x 10^exponent.
struct SignificantDigits {
    std::string digits;
    int exponent = 0;
};

std::uint64_t digitsValue(const std::string& digits)
{
    std::uint64_t value = 0;
    for (const char digit : digits)
        value = value * 10 + static_cast<std::uint64_t>(digit - '0');
    return value;
}

// magnitude rounded to count significant digits (printf's %e rounds exactly;
// whatever it uses for a decimal point is skipped).
SignificantDigits roundedDigits(float magnitude, int count)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", count - 1, static_cast<double>(magnitude));
    SignificantDigits rounded;
    const char* exponent = std::strchr(text, 'e');
    for (const char* c = text; c != exponent; ++c) {
        if (*c >= '0' && *c <= '9')
            rounded.digits.push_back(*c);
    }
    rounded.exponent = std::atoi(exponent + 1);
    return rounded;
}

// The count-digit number one unit in the last place above.
SignificantDigits nextUp(const SignificantDigits& number)
{
    SignificantDigits next{std::to_string(digitsValue(number.digits) + 1), number.exponent};
    if (next.digits.size() > number.digits.size()) {
        next.digits.resize(number.digits.size());
        ++next.exponent;
    }
    return next;
}

// Whether the number reads back as magnitude.
bool readsBackAs(const SignificantDigits& number, float magnitude)
{
    const int power = number.exponent - static_cast<int>(number.digits.size()) + 1;
    const Decimal<float> read = parseDecimal<float>(number.digits + "e" + std::to_string(power));
    return read.status == DecimalStatus::Ok && read.value == magnitude;
}

// Of the count-digit numbers, the one closest to magnitude that reads back
// as it; no digits when none does. The float's neighbours lie equally far on
// either side, except above a power of two, where the one below is half as
// far: there the nearest number may fall short where the next one up does not.
SignificantDigits closestReadingBack(float magnitude, int count)
{
    const SignificantDigits nearest = roundedDigits(magnitude, count);
    if (readsBackAs(nearest, magnitude))
        return nearest;
    const SignificantDigits above = nextUp(nearest);
    if (readsBackAs(above, magnitude))
        return above;
    return {};
}

std::string plainNotation(float magnitude, const SignificantDigits& number)
{
    const int count = static_cast<int>(number.digits.size());
    if (number.exponent >= count - 1) {
        // Only floats from 2^23 up are too coarse for a fraction digit, and
        // they are whole numbers: their exact digits are as short, and closer.
        char text[64];
        std::snprintf(text, sizeof text, "%.0f", static_cast<double>(magnitude));
        return text;
    }
    if (number.exponent >= 0) {
        const std::size_t point = static_cast<std::size_t>(number.exponent + 1);
        return number.digits.substr(0, point) + "." + number.digits.substr(point);
    }
    return "0." + std::string(static_cast<std::size_t>(-number.exponent - 1), '0') + number.digits;
}

// As printf's %e writes it: at least two digits of exponent, with its sign.
std::string scientificNotation(const SignificantDigits& number)
{
    std::string text = number.digits.substr(0, 1);
    if (number.digits.size() > 1)
        text += "." + number.digits.substr(1);
    const int exponent = std::abs(number.exponent);
    text += number.exponent < 0 ? "e-" : "e+";
    if (exponent < 10)
        text += "0";
    return text + std::to_string(exponent);
}

}  // namespace

Json Json::null()
{
    return {};
}

Json Json::boolean(bool value)
{
    Json json;
    json.scalar_ = value ? "true" : "false";
    return json;
}

Json Json::number(float value)
{
    Json json;
    json.scalar_ = formatNumber(value);
    return json;
}

Json Json::integer(long long value)
{
    Json json;
    json.scalar_ = std::to_string(value);
    return json;
}

Json Json::string(std::string_view value)
{
    Json json;
    json.scalar_ = "\"";
    for (const char c : value) {
        switch (c) {
        case '"': json.scalar_ += "\\\""; break;
        case '\\': json.scalar_ += "\\\\"; break;
        case '\n': json.scalar_ += "\\n"; break;
        case '\t': json.scalar_ += "\\t"; break;
        case '\r': json.scalar_ += "\\r"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                json.scalar_ += escaped;
            } else {
                json.scalar_ += c;
            }
        }
    }
    json.scalar_ += '"';
    return json;
}

Json Json::array()
{
    Json json;
    json.kind_ = Kind::Array;
    return json;
}

Json Json::object()
{
    Json json;
    json.kind_ = Kind::Object;
    return json;
}

Json& Json::push(Json item)
{
    items_.push_back(std::move(item));
    return *this;
}

Json& Json::set(std::string key, Json value)
{
    members_.emplace_back(std::move(key), std::move(value));
    return *this;
}

std::string Json::text() const
{
    std::string out;
    write(out);
    return out;
}

void Json::write(std::string& out) const
{
    switch (kind_) {
    case Kind::Scalar: out += scalar_; break;
    case Kind::Array:
        out += '[';
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (i > 0)
                out += ',';
            items_[i].write(out);
        }
        out += ']';
        break;
    case Kind::Object:
        out += '{';
        for (std::size_t i = 0; i < members_.size(); ++i) {
            if (i > 0)
                out += ',';
            out += string(members_[i].first).scalar_;
            out += ':';
            members_[i].second.write(out);
        }
        out += '}';
        break;
    }
}

const Json* Json::find(std::string_view path) const
{
    const Json* at = this;
    while (!path.empty()) {
        const std::size_t dot = path.find('.');
        const std::string_view step = path.substr(0, dot);
        path = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
        if (at->kind_ == Kind::Object) {
            const Json* next = nullptr;
            for (const auto& [key, value] : at->members_) {
                if (key == step)
                    next = &value;
            }
            at = next;
        } else if (at->kind_ == Kind::Array) {
            std::size_t index = 0;
            const auto [end, error] = std::from_chars(step.data(), step.data() + step.size(), index);
            if (error != std::errc() || end != step.data() + step.size() || index >= at->items_.size())
                return nullptr;
            at = &at->items_[index];
        } else {
            return nullptr;
        }
        if (!at)
            return nullptr;
    }
    return at;
}

std::string formatNumber(float value)
{
    if (!std::isfinite(value))
        return "null";
    if (value == 0.0f)
        return "0";
    const float magnitude = std::fabs(value);
    SignificantDigits shortest;
    for (int count = 1; count <= kFloatDigits && shortest.digits.empty(); ++count)
        shortest = closestReadingBack(magnitude, count);
    while (shortest.digits.size() > 1 && shortest.digits.back() == '0')
        shortest.digits.pop_back();
    const std::string plain = plainNotation(magnitude, shortest);
    const std::string scientific = scientificNotation(shortest);
    return (value < 0.0f ? "-" : "") + (plain.size() <= scientific.size() ? plain : scientific);
}

std::string withoutBlanks(std::string_view text)
{
    std::string out;
    bool quoted = false;
    bool escaped = false;
    for (const char c : text) {
        if (quoted) {
            out += c;
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                quoted = false;
        } else if (c == '"') {
            quoted = true;
            out += c;
        } else if (c != ' ' && c != '\t') {
            out += c;
        }
    }
    return out;
}

}  // namespace vokta::play
