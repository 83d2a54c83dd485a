#include "render/model/xfile_lexer.h"

#include <cstdio>
#include <utility>

namespace vokta::xfile::detail {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isNameStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool isNameChar(char c)
{
    return isNameStart(c) || isDigit(c) || c == '-' || c == '.';
}
bool isNumberChar(char c)
{
    return isDigit(c) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
}

std::string quoted(std::string_view text)
{
    constexpr std::size_t kShown = 32;
    std::string out = "'";
    out += text.substr(0, kShown);
    if (text.size() > kShown)
        out += "...";
    out += "'";
    return out;
}

}  // namespace

Lexer::Lexer(std::string_view text, std::size_t offset, int line) : text_(text), pos_(offset), line_(line) {}

Token Lexer::next()
{
    if (hasPeeked_) {
        hasPeeked_ = false;
        return peeked_;
    }
    return scan();
}

Token Lexer::peek()
{
    if (!hasPeeked_) {
        peekStart_ = pos_;
        peekStartLine_ = line_;
        peeked_ = scan();
        hasPeeked_ = true;
    }
    return peeked_;
}

Token Lexer::fail(std::string message)
{
    error_ = std::move(message);
    return {TokenKind::Error, {}, line_};
}

void Lexer::skipSpace()
{
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c == '\n') {
            ++line_;
            ++pos_;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v' || c == ',' || c == ';') {
            ++pos_;
        } else if (c == '#' || (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/')) {
            while (pos_ < text_.size() && text_[pos_] != '\n')
                ++pos_;
        } else {
            return;
        }
    }
}

Token Lexer::scan()
{
    skipSpace();
    if (pos_ >= text_.size())
        return {TokenKind::End, {}, line_};

    const std::size_t start = pos_;
    const char c = text_[pos_];
    const char after = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';

    if (c == '{' || c == '}') {
        ++pos_;
        return {c == '{' ? TokenKind::OpenBrace : TokenKind::CloseBrace, text_.substr(start, 1), line_};
    }
    if (isDigit(c) || ((c == '-' || c == '+' || c == '.') && (isDigit(after) || after == '.'))) {
        while (pos_ < text_.size() && isNumberChar(text_[pos_]))
            ++pos_;
        const std::string_view number = text_.substr(start, pos_ - start);
        // Some exporters write infinities and NaNs as "1.#INF" or "-1.#IND".
        if (pos_ < text_.size() && text_[pos_] == '#')
            return fail("non-finite number " + quoted(number) + "#...");
        if (pos_ < text_.size() && isNameChar(text_[pos_])) {
            while (pos_ < text_.size() && isNameChar(text_[pos_]))
                ++pos_;
            return fail("malformed number " + quoted(text_.substr(start, pos_ - start)));
        }
        return {TokenKind::Number, number, line_};
    }
    if (isNameStart(c)) {
        while (pos_ < text_.size() && isNameChar(text_[pos_]))
            ++pos_;
        return {TokenKind::Name, text_.substr(start, pos_ - start), line_};
    }
    if (c == '<' || c == '"') {
        const char close = c == '<' ? '>' : '"';
        ++pos_;
        while (pos_ < text_.size() && text_[pos_] != close && text_[pos_] != '\n')
            ++pos_;
        if (pos_ >= text_.size() || text_[pos_] != close)
            return fail(c == '<' ? "unterminated GUID" : "unterminated string");
        ++pos_;
        return {c == '<' ? TokenKind::Guid : TokenKind::String, text_.substr(start + 1, pos_ - start - 2), line_};
    }
    const auto byte = static_cast<unsigned char>(c);
    char shown[48];
    if (byte >= 0x21 && byte < 0x7f)
        std::snprintf(shown, sizeof shown, "unexpected character '%c'", c);
    else
        std::snprintf(shown, sizeof shown, "unexpected byte 0x%02X", byte);
    return fail(shown);
}

bool Lexer::skipBlockBody()
{
    if (hasPeeked_) {
        pos_ = peekStart_;
        line_ = peekStartLine_;
        hasPeeked_ = false;
    }
    int depth = 1;
    while (pos_ < text_.size()) {
        const char c = text_[pos_++];
        switch (c) {
        case '\n': ++line_; break;
        case '{': ++depth; break;
        case '}':
            if (--depth == 0)
                return true;
            break;
        case '"':
            // Braces inside strings (texture file names) do not count.
            while (pos_ < text_.size() && text_[pos_] != '"' && text_[pos_] != '\n')
                ++pos_;
            if (pos_ < text_.size() && text_[pos_] == '"')
                ++pos_;
            break;
        case '#':
            while (pos_ < text_.size() && text_[pos_] != '\n')
                ++pos_;
            break;
        case '/':
            if (pos_ < text_.size() && text_[pos_] == '/')
                while (pos_ < text_.size() && text_[pos_] != '\n')
                    ++pos_;
            break;
        default: break;
        }
    }
    return false;
}

std::string describe(const Token& token)
{
    switch (token.kind) {
    case TokenKind::End: return "end of file";
    case TokenKind::Error: return "an unreadable token";
    case TokenKind::Name: return "name " + quoted(token.text);
    case TokenKind::Number: return "number " + quoted(token.text);
    case TokenKind::OpenBrace: return "'{'";
    case TokenKind::CloseBrace: return "'}'";
    case TokenKind::Guid: return "GUID <" + std::string(token.text.substr(0, 40)) + ">";
    case TokenKind::String: return "string \"" + std::string(token.text.substr(0, 40)) + "\"";
    }
    return "token";
}

}  // namespace vokta::xfile::detail
