// vokta-play: runs a script of player actions on a headless game, through
// the same routing, commands, tick and picking as the window, and prints the
// state where the script asks for it.

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "puzzle/scene_setup.h"
#include "tools/play/runner.h"
#include "tools/play/script.h"

namespace {

using namespace vokta::play;

constexpr int kExitExpectationFailed = 1;
constexpr int kExitBadScript = 2;
constexpr int kLargestSize = 16384;

constexpr const char* kUsage = "usage: vokta-play [--size W H] [SCRIPT]\n"
                               "Runs a script of player actions (one a line, '#' starts a comment) on a\n"
                               "game without a window and prints the state where the script says 'state'.\n"
                               "The script is read from SCRIPT, or from standard input without one.\n"
                               "  --size W H  the view in pixels (default 1280 x 800)\n";

int usage(const char* problem)
{
    std::fprintf(stderr, "vokta-play: %s\n%s", problem, kUsage);
    return kExitBadScript;
}

bool readSize(const char* text, int& value)
{
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || number < 1 || number > kLargestSize)
        return false;
    value = static_cast<int>(number);
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (argument == "--size") {
            if (i + 2 >= argc || !readSize(argv[i + 1], width) || !readSize(argv[i + 2], height))
                return usage("--size takes a width and a height, each from 1 to 16384 pixels");
            i += 2;
        } else if (argument.starts_with("--") || !scriptPath.empty()) {
            return usage(("unexpected argument \"" + argument + "\"").c_str());
        } else {
            scriptPath = argument;
        }
    }

    std::string text;
    const std::string scriptName = scriptPath.empty() ? "stdin" : scriptPath;
    if (scriptPath.empty()) {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream file(scriptPath, std::ios::binary);
        if (file)
            text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (!file && !file.eof()) {
            std::fprintf(stderr, "vokta-play: %s: cannot read the script: %s\n", scriptPath.c_str(),
                         std::strerror(errno));
            return kExitBadScript;
        }
    }

    const Script script = parseScript(text);
    if (!script.error.empty()) {
        std::fprintf(stderr, "%s:%d: %s\n", scriptName.c_str(), script.errorLine, script.error.c_str());
        return kExitBadScript;
    }

    const std::string models = findModelDirectory(argv[0]);
    if (models.empty()) {
        std::fprintf(stderr, "vokta-play: the model file vokta.x is neither beside the program nor in share/vokta\n");
        return kExitBadScript;
    }
    if (const std::string problem = vokta::verifyModelFile(models + "/vokta.x"); !problem.empty()) {
        std::fprintf(stderr, "vokta-play: %s\n", problem.c_str());
        return kExitBadScript;
    }
    Runner runner(models, width, height);
    std::string output;
    for (const Action& action : script.actions) {
        const Runner::Outcome outcome = runner.run(action, output);
        std::fputs(output.c_str(), stdout);
        output.clear();
        if (outcome.status != Runner::Status::Ok) {
            std::fflush(stdout);
            std::fprintf(stderr, "%s:%d: %s\n", scriptName.c_str(), action.line, outcome.problem.c_str());
            return outcome.status == Runner::Status::ExpectationFailed ? kExitExpectationFailed : kExitBadScript;
        }
    }
    return 0;
}
