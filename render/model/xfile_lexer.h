#pragma once

// Tokenizer for the text `.x` format, internal to the model-file reader.
//
// The format's `,` and `;` separators are treated as white space: exporters
// disagree on where they go (`;;`, `;,`, commas between numbers...), and the
// reader finds its way by counts and braces alone.

#include <cstddef>
#include <string>
#include <string_view>

namespace vokta::xfile::detail {

enum class TokenKind {
    End,     // end of text
    Error,   // lexical error; Lexer::error() says what
    Name,    // identifier: letter or '_', then letters, digits, '_', '-', '.'
    Number,  // digits with optional sign, point and exponent; not yet converted
    OpenBrace,
    CloseBrace,
    Guid,    // <...>
    String,  // "..." without the quotes
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string_view text;
    int line = 0;
};

class Lexer {
public:
    // `text` starts at `offset`, which lies on line `line`.
    Lexer(std::string_view text, std::size_t offset, int line);

    Token next();
    Token peek();

    // Skips the rest of a block whose `{` was the last token taken, nested
    // blocks included, without interpreting it. False when the text ends first.
    [[nodiscard]] bool skipBlockBody();

    // Bytes not yet consumed; bounds what counts the rest of the file can hold.
    std::size_t remaining() const { return text_.size() - pos_; }
    int line() const { return line_; }
    const std::string& error() const { return error_; }

private:
    void skipSpace();
    Token scan();
    Token fail(std::string message);

    std::string_view text_;
    std::size_t pos_;
    int line_;
    std::string error_;

    bool hasPeeked_ = false;
    Token peeked_;
    std::size_t peekStart_ = 0;  // position and line before the peeked token
    int peekStartLine_ = 0;
};

// How a token reads in an error message: "'{'", "number '12'", "end of file".
std::string describe(const Token& token);

}  // namespace vokta::xfile::detail
