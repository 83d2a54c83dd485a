// Feeds arbitrary bytes to the model-file reader. Every input must either
// parse or be refused with "fuzz.x:LINE: ..." naming a line inside the input;
// crashes, leaks, hangs and huge allocations are the sanitizers' to catch.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "render/model/xfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Most mutations break the 16-byte header; prefix a valid one half of the
    // time so the fuzzer spends its effort on the body.
    std::string text;
    if (size > 0 && (data[0] & 1))
        text = "xof 0302txt 0032\n";
    text.append(reinterpret_cast<const char*>(data), size);

    const vokta::xfile::ParseResult result = vokta::xfile::parse(text, "fuzz.x");
    if (result.document)
        return 0;
    int line = 0;
    long lines = 1;
    for (char c : text)
        lines += c == '\n';
    if (std::sscanf(result.error.c_str(), "fuzz.x:%d: ", &line) != 1 || line < 1 || line > lines) {
        std::fprintf(stderr, "badly labelled error: %s\n", result.error.c_str());
        std::abort();
    }
    return 0;
}
