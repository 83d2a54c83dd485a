// vokta-soak: plays a headless game with random player actions for a long
// time and checks the rules after every action (see play/soak.h). A broken
// rule stops it with the seed and the shortest script that breaks it again.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#endif

#include "platform/files.h"
#include "platform/program.h"
#include "play/runner.h"
#include "play/soak.h"
#include "puzzle/controller/scene_setup.h"
#include "puzzle/scene/game_scene.h"
#include "puzzle/scene/model_check.h"

namespace {

using namespace vokta::play;
namespace fs = std::filesystem;

constexpr int kExitBadArguments = 2;
// Far beyond any useful run: a larger number is a slip of the keyboard.
constexpr unsigned long kMostActions = 100'000'000;
constexpr unsigned long kMostSeeds = 100'000'000;
// The game's seeds are 32 bits wide.
constexpr unsigned long kLargestSeed = UINT_MAX;

constexpr const char* kUsage = "usage: vokta-soak [--seed N] [--seeds K] [--actions N] [--tasks DIR]...\n"
                               "Plays K games (seeds N, N+1, ...) of N random actions each (default: seed 1,\n"
                               "1 game, 50000 actions), loading the task files of each DIR now and then,\n"
                               "and checks the rules after every action. Exit code 1 on a broken rule.\n";

// The process's resident memory now, and at its highest, in kibibytes.
std::pair<long, long> memory()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return {0, 0};
    return {static_cast<long>(counters.WorkingSetSize / 1024), static_cast<long>(counters.PeakWorkingSetSize / 1024)};
#else
    std::ifstream status("/proc/self/status");
    std::string word;
    long now = 0;
    long peak = 0;
    while (status >> word) {
        if (word == "VmRSS:")
            status >> now;
        else if (word == "VmHWM:")
            status >> peak;
    }
    return {now, peak};
#endif
}

int usage(const std::string& problem)
{
    std::fprintf(stderr, "vokta-soak: %s\n%s", problem.c_str(), kUsage);
    return kExitBadArguments;
}

// The number text writes in decimal digits alone (no sign, no spaces), when
// it lies from low to high.
std::optional<unsigned long> wholeNumber(const char* text, unsigned long low, unsigned long high)
{
    if (*text == '\0' || std::strspn(text, "0123456789") != std::strlen(text))
        return std::nullopt;
    errno = 0;
    const unsigned long value = std::strtoul(text, nullptr, 10);
    if (errno == ERANGE || value < low || value > high)
        return std::nullopt;
    return value;
}

// Adds the task files of folder to files; why it cannot, or nothing.
std::string addTaskFiles(const std::string& folder, std::vector<std::string>& files)
{
    std::error_code error;
    const fs::path path = vokta::pathFromUtf8(folder);
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return "no such folder";
    if (error)
        return error.message();
    if (!fs::is_directory(status))
        return "not a folder";
    for (fs::directory_iterator entry(path, error), end; !error && entry != end; entry.increment(error)) {
        if (entry->path().extension() == ".tsk")
            files.push_back(vokta::utf8FromPath(entry->path()));
    }
    return error ? error.message() : std::string();
}

}  // namespace

int main(int argc, char* argv[])
{
    vokta::useBinaryStandardStreams();
    const std::vector<std::string> arguments = vokta::utf8Arguments(argc, argv);
    unsigned long seed = 1;
    unsigned long seeds = 1;
    unsigned long actions = 50'000;
    std::vector<std::string> taskFiles;
    const struct {
        const char* name;
        unsigned long* value;
        unsigned long low;
        unsigned long high;
    } numbers[] = {
        {"--seed", &seed, 0, kLargestSeed},
        {"--seeds", &seeds, 1, kMostSeeds},
        {"--actions", &actions, 1, kMostActions},
    };
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const char* value = i + 1 < arguments.size() ? arguments[++i].c_str() : nullptr;
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (option == "--tasks") {
            if (value == nullptr)
                return usage("--tasks needs a folder");
            if (const std::string problem = addTaskFiles(value, taskFiles); !problem.empty()) {
                std::fprintf(stderr, "vokta-soak: --tasks %s: %s\n", value, problem.c_str());
                return kExitBadArguments;
            }
            continue;
        }
        const auto number = std::find_if(std::begin(numbers), std::end(numbers),
                                         [&option](const auto& known) { return option == known.name; });
        if (number == std::end(numbers))
            return usage("unknown option \"" + option + "\"");
        const std::optional<unsigned long> parsed =
            value ? wholeNumber(value, number->low, number->high) : std::nullopt;
        if (!parsed) {
            const std::string range = std::to_string(number->low) + " to " + std::to_string(number->high);
            return usage(option + " needs a whole number from " + range +
                         (value ? ", not \"" + std::string(value) + "\"" : std::string()));
        }
        *number->value = *parsed;
    }
    if (seeds - 1 > kLargestSeed - seed)
        return usage("--seed " + std::to_string(seed) + " and --seeds " + std::to_string(seeds) +
                     " run past the last seed, " + std::to_string(kLargestSeed));
    const std::string models = vokta::utf8FromPath(vokta::findModelDirectory(
        vokta::modelDirectoryCandidates(vokta::programDirectory(arguments[0])), vokta::kModelFileName));
    if (models.empty() || !vokta::verifyModelFile(models + "/vokta.x").empty()) {
        std::fprintf(stderr, "vokta-soak: no usable model file beside the program\n");
        return 2;
    }
    std::error_code error;
    const fs::path saves = fs::temp_directory_path(error) / ("vokta-soak-" + std::to_string(seed));
    if (!error)
        fs::create_directories(saves, error);
    if (error) {
        std::fprintf(stderr, "vokta-soak: %s: no folder for the saved tasks: %s\n", vokta::utf8FromPath(saves).c_str(),
                     error.message().c_str());
        return kExitBadArguments;
    }

    const auto start = std::chrono::steady_clock::now();
    unsigned long done = 0;
    long settled = 0;
    for (unsigned long game = 0; game < seeds; ++game) {
        const unsigned gameSeed = static_cast<unsigned>(seed + game);
        RandomPlayer player(gameSeed, taskFiles, vokta::utf8FromPath(saves));
        Runner runner(models, kDefaultWidth, kDefaultHeight);
        InvariantChecker checker;
        std::vector<std::string> lines{"setup " + std::to_string(gameSeed)};
        lines.reserve(actions + 1);
        std::string output;
        runner.run(parseScript(lines[0]).actions[0], output);
        for (unsigned long a = 0; a < actions; ++a) {
            lines.push_back(player.next(runner.game()));
            const Script script = parseScript(lines.back());
            if (script.actions.empty()) {
                std::fprintf(stderr, "vokta-soak: made a bad line: %s\n", lines.back().c_str());
                return 2;
            }
            checker.before(runner);
            runner.run(script.actions[0], output);
            output.clear();
            if (const std::string broken = checker.after(runner, script.actions[0]); !broken.empty()) {
                std::printf("seed %u, action %lu: %s\nshortest script that breaks it:\n", gameSeed, a + 1,
                            broken.c_str());
                for (const std::string& line : shrink(models, lines, 120.0))
                    std::printf("%s\n", line.c_str());
                return 1;
            }
            if (game == 0 && a == actions / 2)
                settled = memory().first;
        }
        done += actions;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto [now, peak] = memory();
    std::printf("%lu actions in %lu games from seed %lu in %.1f s (%.0f a second): no rule broken\n"
                "memory: %ld KiB now, %ld KiB at most, %ld KiB halfway through the first game\n",
                done, seeds, seed, seconds, static_cast<double>(done) / seconds, now, peak, settled);
    fs::remove_all(saves);
#if !defined(__SANITIZE_ADDRESS__)
    // Memory that keeps growing would show as a rise of more than 16 MiB.
    // (Under AddressSanitizer freed memory is held back on purpose.)
    if (now - settled > 16 * 1024) {
        std::printf("memory grew by %ld KiB\n", now - settled);
        return 1;
    }
#endif
    return 0;
}
