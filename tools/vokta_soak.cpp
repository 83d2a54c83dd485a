// vokta-soak: plays a headless game with random player actions for a long
// time and checks the rules after every action (see play/soak.h). A broken
// rule stops it with the seed and the shortest script that breaks it again.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "puzzle/scene_setup.h"
#include "tools/play/runner.h"
#include "tools/play/soak.h"

namespace {

using namespace vokta::play;
namespace fs = std::filesystem;

constexpr const char* kUsage = "usage: vokta-soak [--seed N] [--seeds K] [--actions N] [--tasks DIR]...\n"
                               "Plays K games (seeds N, N+1, ...) of N random actions each (default: seed 1,\n"
                               "1 game, 50000 actions), loading the task files of each DIR now and then,\n"
                               "and checks the rules after every action. Exit code 1 on a broken rule.\n";

// The process's resident memory now, and at its highest, in kibibytes.
std::pair<long, long> memory()
{
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
}

bool number(const char* text, unsigned long& value)
{
    char* end = nullptr;
    value = std::strtoul(text, &end, 10);
    return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char* argv[])
{
    unsigned long seed = 1;
    unsigned long seeds = 1;
    unsigned long actions = 50'000;
    std::vector<std::string> taskFiles;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        const char* value = argv[++i];
        bool good = true;
        if (option == "--seed")
            good = number(value, seed);
        else if (option == "--seeds")
            good = number(value, seeds);
        else if (option == "--actions")
            good = number(value, actions);
        else if (option == "--tasks") {
            std::error_code error;
            for (const fs::directory_entry& entry : fs::directory_iterator(value, error)) {
                if (entry.path().extension() == ".tsk")
                    taskFiles.push_back(entry.path().string());
            }
            good = !error;
        } else
            good = false;
        if (!good) {
            std::fprintf(stderr, "vokta-soak: bad %s %s\n%s", option.c_str(), value, kUsage);
            return 2;
        }
    }
    const std::string models = findModelDirectory(argv[0]);
    if (models.empty() || !vokta::verifyModelFile(models + "/vokta.x").empty()) {
        std::fprintf(stderr, "vokta-soak: no usable model file beside the program\n");
        return 2;
    }
    const fs::path saves = fs::temp_directory_path() / ("vokta-soak-" + std::to_string(seed));
    fs::create_directories(saves);

    const auto start = std::chrono::steady_clock::now();
    unsigned long done = 0;
    long settled = 0;
    for (unsigned long game = 0; game < seeds; ++game) {
        const unsigned gameSeed = static_cast<unsigned>(seed + game);
        RandomPlayer player(gameSeed, taskFiles, saves.string());
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
