// Feeds arbitrary text to the tune compiler, for every channel byte. A
// compiled tune stays inside its buffer (AddressSanitizer watches), holds
// whole events ending in the closing event, and its buffer is exactly the
// capacity the rule gives: six words a letter and three more.

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "music/tune.h"

namespace {

void check(bool condition, const char* what, const std::string& text)
{
    if (condition)
        return;
    std::fprintf(stderr, "tune \"%s\": %s\n", text.c_str(), what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int channel = data[0] % 18 - 1;  // -1 and 16 are refused
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string terminated = text.substr(0, text.find('\0'));
    vokta::resetDefaultTuneLength();
    vokta::Tune tune;
    const vokta::CompileResult result = tune.compile(terminated.c_str(), channel);
    if (!result.ok()) {
        check(!result.error.empty() && tune.events() == nullptr, "refused without saying why, or half compiled",
              terminated);
        check(channel < 0 || channel > 15 || !result.error.empty(), "refused a good channel without a reason",
              terminated);
        return 0;
    }
    std::uint32_t letters = 0;
    for (const char c : terminated)
        letters += std::isalpha(static_cast<unsigned char>(c)) ? 1 : 0;
    check(tune.capacity() == letters * 6 + 3, "capacity is not six words a letter and three", terminated);
    check(tune.size() == result.size && tune.size() <= tune.capacity(), "more words than the buffer holds", terminated);
    check(tune.size() % vokta::kWordsPerEvent == 0 && tune.size() >= 3, "a broken event", terminated);
    check(tune.events()[tune.size() - 1] == vokta::kClosingEvent, "the last event does not close the tune", terminated);
    return 0;
}
