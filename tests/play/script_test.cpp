#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "play/json.h"
#include "play/script.h"
#include "puzzle/controller/commands.h"
#include "puzzle/controller/pointer.h"

namespace vokta::play {
namespace {

TEST(Script, ReadsEveryActionWithItsArguments)
{
    const Script script = parseScript("setup 4  # comment\n"
                                      "\n"
                                      "   # only a comment\n"
                                      "tick\n"
                                      "tick 12\n"
                                      "keydown pageup shift\n"
                                      "key 7\n"
                                      "press 10 20 left+shift+ctrl\n"
                                      "dblclick piece 3\n"
                                      "click roller 5\n"
                                      "click piece 2 right\n"
                                      "place 6 -10 20 30 falling 0 0 0 10 0 0 0 0 10 -10 0 0\n"
                                      "camera 1 2 3 -1 0 -0.3 0 0 1\n"
                                      "command 57666\n"
                                      "load some file.tsk\n"
                                      "expect messages.0.text \"a # is text\"\n"
                                      "command turn-counterclockwise\n"
                                      "load \" a #1.tsk\"\n"
                                      "daily 2028-02-29\n"
                                      "generate hard 4294967295\n");
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.actions.size(), 18u);
    const auto& a = script.actions;
    EXPECT_EQ(a[0].number, 4u);
    EXPECT_EQ(a[1].line, 4);
    EXPECT_EQ(a[1].number, 1u) << "tick alone is one tick";
    EXPECT_EQ(a[2].number, 12u);
    EXPECT_EQ(a[3].key, Key::PageUp);
    EXPECT_TRUE(a[3].shift);
    EXPECT_EQ(a[4].character, '7');
    EXPECT_EQ(a[5].keys, kMouseLeft | kMouseShift | kMouseControl);
    EXPECT_EQ(a[6].kind, Action::Kind::DoubleClickPiece);
    EXPECT_EQ(a[7].kind, Action::Kind::ClickRoller);
    EXPECT_EQ(a[7].number, 5u);
    EXPECT_TRUE(a[8].shift) << "a right click";
    EXPECT_TRUE(a[9].falling);
    EXPECT_EQ(a[9].cell, (Cell{-10, 20, 30}));
    ASSERT_TRUE(a[9].offsets);
    EXPECT_EQ((*a[9].offsets)[3], (Cell{-10, 0, 0}));
    EXPECT_EQ(a[10].direction, (Vec3{-1, 0, -0.3f}));
    EXPECT_EQ(a[11].number, 57666u);
    EXPECT_EQ(a[12].text, "some file.tsk");
    EXPECT_EQ(a[13].value, "\"a # is text\"");
    EXPECT_EQ(a[14].number, 40016u);
    EXPECT_EQ(a[15].text, " a #1.tsk") << "quotes keep a name's blanks and '#'";
    EXPECT_EQ(a[16].request, (TaskRequest{.kind = TaskRequest::Kind::Daily, .date = {2028, 2, 29}}));
    EXPECT_EQ(a[17].request, (TaskRequest{.difficulty = Difficulty::Hard, .seed = 4294967295u}));
}

TEST(Script, RefusesABadLineNamingItAndKeepsNothing)
{
    const struct {
        const char* line;
        const char* problem;
    } table[] = {
        {"jump", "unknown action \"jump\""},
        {"setup", "the seed must be a whole number from 0 to 4294967295, and is missing"},
        {"setup 4294967296", "the seed must be"},
        {"tick -1", "the number of ticks must be"},
        {"tick 1000001", "from 0 to 1000000"},
        {"tick 2 3", "too many arguments for tick"},
        {"keydown tab",
         "a key is left, right, up, down, pageup, pagedown, enter, escape, home, other or one character"},
        {"key left ctrl", "only \"shift\" may follow the key"},
        {"char", "char takes one character"},
        {"command 40035", "no menu command has the number 40035"},
        {"command jump", "unknown command \"jump\""},
        {"command 57667", "no menu command has the number 57667"},
        {"code", "code needs a task code"},
        {"press 10 20", "the buttons are missing"},
        {"press 10 20 left+alt", "buttons are \"none\" or names"},
        {"press 10 20 left+", "buttons are \"none\" or names"},
        {"move -70000 20 none", "X must be a whole number from -65535 to 65535"},
        {"release 1 65536 none", "Y must be"},
        {"click piece 7", "the piece must be a whole number from 0 to 6"},
        {"click roller 6", "the roller must be"},
        {"click floor", "click takes \"piece N\" or \"roller N\""},
        {"click piece 1 left", "only \"right\" may follow the piece"},
        {"place 1 0 0", "a coordinate must be a whole number"},
        {"place 1 0 0 nan", "a coordinate must be a whole number"},
        {"place 1 0 0 2.5", "a coordinate must be a whole number of at most 1000000 in size, not \"2.5\""},
        {"place 1 0 0 2000000", "at most 1000000 in size"},
        {"place 1 0 0 0 resting 0 0 0 10 0 0", "a cube offset is -10, 0 or 10"},
        {"place 1 0 0 0 0 0 0 10 0 0 0 0 10 0 5 0", "a cube offset is -10, 0 or 10, not \"5\""},
        {"camera 1 2 3 0 0 0 0 0 1", "the camera's direction and up must not be zero"},
        {"pieces 8", "the piece count must be"},
        {"task cube", "task takes \"builtin\" or \"none\""},
        {"load", "load needs a file"},
        {"daily 2027-02-30", "\"2027-02-30\" is no such day"},
        {"daily 3000-01-01", "is not from 2000 to 2999"},
        {"daily today", "is not a date written YYYY-MM-DD"},
        {"generate impossible 3", "generate takes a difficulty, easy, medium, hard or unique, not \"impossible\""},
        {"generate easy 4294967296", "the seed must be a whole number from 0 to 4294967295"},
        {"generate easy", "the seed must be"},
        {"expect ticks", "expect takes a path"},
        {"state now", "too many arguments for state"},
    };
    for (const auto& row : table) {
        const Script script = parseScript(std::string("tick\n\n") + row.line + "\ntick\n");
        EXPECT_EQ(script.errorLine, 3) << row.line;
        EXPECT_NE(script.error.find(row.problem), std::string::npos) << row.line << " said: " << script.error;
        EXPECT_TRUE(script.actions.empty()) << row.line << ": nothing runs";
    }
}

TEST(Json, NumbersAreTheShortestTextThatReadsBackTheSameFloat)
{
    const std::pair<float, const char*> table[] = {
        {100.0f, "100"},
        {-10.0f, "-10"},
        {0.0f, "0"},
        {-0.0f, "0"},
        {0.1f, "0.1"},
        {1.0f / 3, "0.33333334"},
        {-0.57735026f, "-0.57735026"},
        {1e10f, "1e+10"},
        {94.2265f, "94.2265"},
        {94.226494f, "94.226494"},
    };
    for (const auto& [value, text] : table)
        EXPECT_EQ(formatNumber(value), text) << value;
}

// The same text as std::to_chars, the reference where the C++ library has
// it, for floats of every exponent: beside each power of two (where the
// neighbours are not equally far), and at random.
TEST(Json, NumbersAreWrittenAsToCharsWritesThem)
{
    const auto expectSameAsToChars = [](float value) {
        if (!std::isfinite(value) || value == 0.0f)
            return;
        char text[64];
        const auto [end, error] = std::to_chars(text, text + sizeof text, value);
        ASSERT_EQ(error, std::errc());
        EXPECT_EQ(formatNumber(value), std::string(text, end)) << std::hexfloat << value;
    };
    for (int exponent = -149; exponent <= 127; ++exponent) {
        const float power = std::ldexp(1.0f, exponent);
        for (const float value :
             {power, std::nextafter(power, 0.0f), std::nextafter(power, std::numeric_limits<float>::infinity())}) {
            expectSameAsToChars(value);
            expectSameAsToChars(-value);
        }
    }
    std::mt19937 random(17);
    for (int i = 0; i < 200000; ++i) {
        std::uint32_t bits = random();
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        expectSameAsToChars(value);
    }
}

TEST(Json, PathsLeadIntoObjectsAndArrays)
{
    Json state = Json::object();
    state.set("pieces", Json::array().push(Json::object().set("position", Json::array().push(Json::number(1.5f)))));
    state.set("text", Json::string("a \"b\"\n"));
    EXPECT_EQ(state.text(), "{\"pieces\":[{\"position\":[1.5]}],\"text\":\"a \\\"b\\\"\\n\"}");
    ASSERT_NE(state.find("pieces.0.position.0"), nullptr);
    EXPECT_EQ(state.find("pieces.0.position.0")->text(), "1.5");
    EXPECT_EQ(state.find("pieces.1"), nullptr);
    EXPECT_EQ(state.find("pieces.x"), nullptr);
    EXPECT_EQ(state.find("nothing"), nullptr);
    EXPECT_EQ(withoutBlanks(" [1, 2]  \"a b\" "), "[1,2]\"a b\"");
}

}  // namespace
}  // namespace vokta::play
