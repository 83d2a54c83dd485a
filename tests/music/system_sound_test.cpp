#include "music/fluid_synthesizer.h"
#include "music/system_sound.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace vokta {
namespace {

// Sets an environment variable (or unsets it, for nullopt) for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv()
    {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

int lineCount(const std::string& text)
{
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

struct Session {
    bool audible;
    std::string said;  // everything written to stderr
};

// Opens the game's sound, plays every cue and closes it again.
Session soundSession(SoundMode mode = SoundMode::Auto)
{
    ::testing::internal::CaptureStderr();
    bool audible = false;
    {
        SystemSound sound(mode);
        audible = sound.audible();
        for (Cue cue : {Cue::Refusal, Cue::Step, Cue::Fanfare, Cue::Step, Cue::Refusal})
            sound.output().play(cue);
    }  // waits for a background soundfont load to finish
    return {audible, ::testing::internal::GetCapturedStderr()};
}

// CI machines have no sound card: SDL's dummy driver stands in for one.
class SystemSoundTest : public ::testing::Test {
protected:
    ScopedEnv driver{"SDL_AUDIODRIVER", "dummy"};
    ScopedEnv switchedOn{"VOKTA_SOUND", std::nullopt};
    ScopedEnv defaultSoundfont{"VOKTA_SOUNDFONT", std::nullopt};
};

TEST_F(SystemSoundTest, SilentModeOpensNothingAndSaysNothing)
{
    const Session session = soundSession(SoundMode::Silent);
    EXPECT_FALSE(session.audible);
    EXPECT_EQ(session.said, "");
}

TEST_F(SystemSoundTest, SwitchedOffByTheEnvironment)
{
    ScopedEnv off("VOKTA_SOUND", "off");
    const Session session = soundSession();
    EXPECT_FALSE(session.audible);
    EXPECT_EQ(session.said, "");
}

TEST_F(SystemSoundTest, PlaysOnTheAudioDeviceAndShutsDown)
{
    std::string why;
    if (findSoundfont(why).empty())
        GTEST_SKIP() << why;
    const Session session = soundSession();
    EXPECT_TRUE(session.audible);
    EXPECT_EQ(session.said, "");
}

TEST_F(SystemSoundTest, MissingSoundfontSilencesWithOneLine)
{
    ScopedEnv missing("VOKTA_SOUNDFONT", "/nonexistent/gm.sf2");
    const Session session = soundSession();
    EXPECT_FALSE(session.audible);
    const std::string& said = session.said;
    EXPECT_EQ(lineCount(said), 1) << said;
    EXPECT_NE(said.find("VOKTA_SOUNDFONT"), std::string::npos) << said;
}

TEST_F(SystemSoundTest, SoundfontThatFailsToLoadSilencesWithOneLine)
{
    const std::string junk = ::testing::TempDir() + "vokta_broken.sf2";
    std::ofstream(junk) << "RIFF but not really";
    ScopedEnv broken("VOKTA_SOUNDFONT", junk);
    const Session session = soundSession();
    const std::string& said = session.said;
    EXPECT_EQ(lineCount(said), 1) << said;
    EXPECT_NE(said.find(junk), std::string::npos) << said;
    std::remove(junk.c_str());
}

TEST_F(SystemSoundTest, NoAudioDeviceSilencesWithOneLine)
{
    std::string why;
    if (findSoundfont(why).empty())
        GTEST_SKIP() << why;
    ScopedEnv noDevice("SDL_AUDIODRIVER", "no-such-driver");
    const Session session = soundSession();
    EXPECT_FALSE(session.audible);
    const std::string& said = session.said;
    EXPECT_EQ(lineCount(said), 1) << said;
    EXPECT_NE(said.find("audio"), std::string::npos) << said;
}

TEST(FindSoundfont, PrefersTheEnvironmentThenTheGeneralMidiDefault)
{
    const std::string chosen = ::testing::TempDir() + "vokta_chosen.sf2";
    std::ofstream(chosen) << "x";
    std::string why;
    {
        ScopedEnv named("VOKTA_SOUNDFONT", chosen);
        EXPECT_EQ(findSoundfont(why), chosen);
    }
    {
        ScopedEnv unset("VOKTA_SOUNDFONT", std::nullopt);
        const std::string found = findSoundfont(why);
        if (found.empty()) {
            EXPECT_NE(why.find("VOKTA_SOUNDFONT"), std::string::npos);
        } else {
            EXPECT_NE(found.find("/usr/share/sounds/sf2/"), std::string::npos);
        }
    }
    {
        ScopedEnv directory("VOKTA_SOUNDFONT", ::testing::TempDir());
        EXPECT_EQ(findSoundfont(why), "");
        EXPECT_NE(why.find("not a file"), std::string::npos);
    }
    std::remove(chosen.c_str());
}

}  // namespace
}  // namespace vokta
