// vokta-play: runs a script of player actions on a headless game, through
// the same routing, commands, tick and picking as the window, and prints the
// state where the script asks for it.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/program.h"
#include "play/runner.h"
#include "play/script.h"
#include "puzzle/controller/scene_setup.h"
#include "puzzle/scene/game_scene.h"
#include "puzzle/scene/model_check.h"

namespace {

using namespace vokta::play;

constexpr int kExitBadScript = static_cast<int>(ScriptExit::BadScript);
constexpr int kLargestSize = 16384;
// Far more than any game's actions; it also stops a file that never ends,
// such as /dev/zero.
constexpr std::size_t kLargestScript = std::size_t{64} << 20;

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

// Reads the whole of file into text; what went wrong, or nothing.
std::string readScript(std::FILE* file, std::string& text)
{
    char block[65536];
    while (const std::size_t count = std::fread(block, 1, sizeof block, file)) {
        text.append(block, count);
        if (text.size() > kLargestScript)
            return "the script is larger than 64 MiB";
    }
    if (std::ferror(file))
        return std::string("cannot read the script: ") + std::strerror(errno);
    return {};
}

}  // namespace

int main(int argc, char* argv[])
{
    vokta::useBinaryStandardStreams();
    const std::vector<std::string> arguments = vokta::utf8Arguments(argc, argv);
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    std::string scriptPath;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (argument == "--size") {
            if (i + 2 >= arguments.size() || !readSize(arguments[i + 1].c_str(), width) ||
                !readSize(arguments[i + 2].c_str(), height))
                return usage("--size takes a width and a height, each from 1 to 16384 pixels");
            i += 2;
        } else if (argument.starts_with("--") || !scriptPath.empty()) {
            return usage(("unexpected argument \"" + argument + "\"").c_str());
        } else {
            scriptPath = argument;
        }
    }

    std::string text;
    std::string problem;
    const std::string scriptName = scriptPath.empty() ? "stdin" : scriptPath;
    std::error_code error;
    if (scriptPath.empty()) {
        problem = readScript(stdin, text);
    } else if (std::filesystem::is_directory(vokta::pathFromUtf8(scriptPath), error)) {
        problem = "the script is a folder, not a file";
    } else if (std::FILE* file = vokta::openFile(scriptPath, "rb")) {
        problem = readScript(file, text);
        std::fclose(file);
    } else {
        problem = std::string("cannot read the script: ") + std::strerror(errno);
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "vokta-play: %s: %s\n", scriptName.c_str(), problem.c_str());
        return kExitBadScript;
    }

    const Script script = parseScript(text);
    if (!script.error.empty()) {
        std::fprintf(stderr, "vokta-play: %s:%d: %s\n", scriptName.c_str(), script.errorLine, script.error.c_str());
        return kExitBadScript;
    }

    const std::string models = vokta::utf8FromPath(vokta::findModelDirectory(
        vokta::modelDirectoryCandidates(vokta::programDirectory(arguments[0])), vokta::kModelFileName));
    if (models.empty()) {
        std::fprintf(stderr, "vokta-play: the model file vokta.x is neither beside the program nor in share/vokta\n");
        return kExitBadScript;
    }
    if (const std::string broken = vokta::verifyModelFile(models + "/vokta.x"); !broken.empty()) {
        std::fprintf(stderr, "vokta-play: %s\n", broken.c_str());
        return kExitBadScript;
    }
    Runner runner(models, width, height);
    return static_cast<int>(
        runActions(runner, script, scriptName, [](const std::string& output) { std::fputs(output.c_str(), stdout); }));
}
