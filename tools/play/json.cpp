#include "tools/play/json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace vokta::play {

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
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : "null";
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
