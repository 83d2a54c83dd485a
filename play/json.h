#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vokta::play {

// A JSON value built for printing: numbers and other scalars are held as the
// text they print as, so what is compared is exactly what is shown.
class Json {
public:
    static Json null();
    static Json boolean(bool value);
    static Json number(float value);
    static Json integer(long long value);
    static Json string(std::string_view value);
    static Json array();
    static Json object();

    // Appends to an array; returns it for chaining.
    Json& push(Json item);
    // Adds a member to an object, in order.
    Json& set(std::string key, Json value);

    // The compact text: no spaces, members in the order they were set.
    std::string text() const;
    void write(std::string& out) const;

    // The value at a path of member names and array indices joined by '.',
    // as in "pieces.2.position"; null when there is none.
    const Json* find(std::string_view path) const;

private:
    enum class Kind { Scalar, Array, Object };
    Kind kind_ = Kind::Scalar;
    std::string scalar_ = "null";
    std::vector<Json> items_;
    std::vector<std::pair<std::string, Json>> members_;
};

// The shortest text that reads back as the same single-precision value,
// whole numbers without a fraction, -0 as 0.
std::string formatNumber(float value);

// text without the blanks that stand outside quoted strings: how an expected
// value is brought to the compact form before comparing.
std::string withoutBlanks(std::string_view text);

}  // namespace vokta::play
