// Feeds arbitrary text to the vokta-play script reader. A refused script
// names a line within it and says what is wrong, keeping no action; an
// accepted one yields actions on increasing lines within it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "play/script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    const vokta::play::Script script = vokta::play::parseScript(text);
    if (!script.error.empty()) {
        if (script.errorLine < 1 || script.errorLine > lines || !script.actions.empty()) {
            std::fprintf(stderr, "refused at line %d of %d, keeping %zu actions\n", script.errorLine, lines,
                         script.actions.size());
            std::abort();
        }
        return 0;
    }
    int previous = 0;
    for (const vokta::play::Action& action : script.actions) {
        if (action.line <= previous || action.line > lines) {
            std::fprintf(stderr, "an action on line %d after line %d of %d\n", action.line, previous, lines);
            std::abort();
        }
        previous = action.line;
    }
    return 0;
}
