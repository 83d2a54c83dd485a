// Every malformed file of tests/data is refused with a message that names it
// and says what is wrong, and a refused task file leaves the whole game as it
// was: the state vokta-play prints is the same before and after.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <functional>

#include "play/runner.h"
#include "puzzle/controller/scene_setup.h"
#include "puzzle/scene/model_check.h"
#include "shell/messages.h"

namespace vokta::play {
namespace {

namespace fs = std::filesystem;

const fs::path kData = VOKTA_TEST_DATA;

#ifndef _WIN32
// Runs what in a child process as the unprivileged user "nobody", so that
// file permissions count even for root; its exit code.
int asNobody(const std::function<bool()>& what)
{
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(3);
        _exit(what() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

// The state without what a load may add: its message.
std::string stateWithoutMessages(Runner& runner)
{
    Json state = runner.state();
    std::string text = state.text();
    const std::size_t messages = text.find(",\"messages\":");
    return text.substr(0, messages);
}

class Malformed : public ::testing::Test {
protected:
    Malformed() : runner_(VOKTA_RESOURCE_DIR, kDefaultWidth, kDefaultHeight)
    {
        std::string ignored;
        // Something of everything: pieces at rest and falling, one selected, a completion armed.
        for (const char* line : {"setup 4", "tick 30", "char 3", "key pageup", "tick 2", "char 5", "tick"})
            runner_.run(parseScript(line).actions.at(0), ignored);
    }

    // Loads file and expects nothing changed but one message naming it.
    void expectRefused(const std::string& file)
    {
        std::string output;
        runner_.run(parseScript("state").actions.at(0), output);
        const std::string before = stateWithoutMessages(runner_);
        runner_.run(parseScript("load " + file).actions.at(0), output);
        EXPECT_EQ(stateWithoutMessages(runner_), before) << file;
        const Json state = runner_.state();
        ASSERT_NE(state.find("messages.0"), nullptr) << file << ": no message";
        EXPECT_EQ(state.find("messages.1"), nullptr) << file << ": more than one message";
        const std::string text = state.find("messages.0.text")->text();
        EXPECT_NE(text.find(file), std::string::npos) << text;
    }

    Runner runner_;
};

TEST_F(Malformed, EveryBrokenTaskFileIsRefusedAndChangesNothing)
{
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(kData / "tasks")) {
        expectRefused(entry.path().generic_string());
        ++files;
    }
    EXPECT_GE(files, 40);

    // A folder in place of the file, and a file that cannot be read.
    const fs::path folder = fs::temp_directory_path() / "vokta-malformed";
    fs::remove_all(folder);
    fs::create_directories(folder / "folder.tsk");
    expectRefused((folder / "folder.tsk").generic_string());
#ifndef _WIN32
    // (Only POSIX lets a test take the right to read from a file.)
    const fs::path locked = folder / "locked.tsk";
    fs::copy_file(kData / ".." / "play" / "data" / "cube-v0.tsk", locked);
    fs::permissions(locked, fs::perms::none);
    EXPECT_EQ(asNobody([&] {
                  const TaskFileRead read = readTaskFile(locked.string());
                  return !read.task && read.error.kind == TaskFileError::Kind::Unreadable &&
                      taskFileProblem(read.error) == "Permission denied";
              }),
              0);
#endif
    fs::remove_all(folder);
}

TEST(MalformedModels, EveryBrokenModelFileIsRefusedNamingItAndTheProblem)
{
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(kData / "models")) {
        const std::string path = entry.path().string();
        const std::string message = verifyModelFile(path);
        EXPECT_EQ(message.substr(0, path.size() + 1), path + ":") << path << " said: " << message;
        EXPECT_GT(message.size(), path.size() + 12) << message;
        ++files;
    }
    EXPECT_GE(files, 40);
    const fs::path folder = fs::temp_directory_path() / "vokta-malformed-models";
    fs::remove_all(folder);
    fs::create_directories(folder / "vokta.x");
    EXPECT_EQ(verifyModelFile((folder / "vokta.x").string()).find((folder / "vokta.x").string()), 0u);
    fs::remove_all(folder);
}

}  // namespace
}  // namespace vokta::play
