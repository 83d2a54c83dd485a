#include "music/tune.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vokta {
namespace {

struct Event {
    std::uint32_t delta;
    std::uint32_t word;
    bool operator==(const Event&) const = default;
};

void PrintTo(const Event& event, std::ostream* os)
{
    *os << "(" << event.delta << ", 0x" << std::hex << event.word << ")";
}

std::vector<Event> eventsOf(const Tune& tune)
{
    std::vector<Event> events;
    for (std::uint32_t i = 0; i < tune.size(); i += kWordsPerEvent) {
        EXPECT_EQ(tune.events()[i + 1], 0u) << "stream id of event " << i / kWordsPerEvent;
        events.push_back({tune.events()[i], tune.events()[i + 2]});
    }
    return events;
}

std::vector<Event> compiled(const std::string& text, int channel = 0)
{
    Tune tune;
    const CompileResult result = tune.compile(text.c_str(), channel);
    EXPECT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.size, tune.size());
    EXPECT_LE(tune.size(), tune.capacity());
    return eventsOf(tune);
}

Event on(int note, std::uint32_t delta = 0, int channel = 0)
{
    return {delta, 0x7F0090u + static_cast<std::uint32_t>(channel) + static_cast<std::uint32_t>(note) * 256};
}
Event off(int note, std::uint32_t delta = 0, int channel = 0)
{
    return {delta, 0x7F0080u + static_cast<std::uint32_t>(channel) + static_cast<std::uint32_t>(note) * 256};
}
Event closing(std::uint32_t delta)
{
    return {delta, kClosingEvent};
}

// Every test starts from the default length of program start.
class TuneTest : public ::testing::Test {
protected:
    void SetUp() override { resetDefaultTuneLength(); }
    void TearDown() override { resetDefaultTuneLength(); }
};

TEST_F(TuneTest, RefusalTuneComesOutWordForWord)
{
    Tune tune;
    ASSERT_TRUE(tune.compile("o5c16", 9).ok());
    EXPECT_EQ(tune.capacity(), 15u);  // two letters: 2 x 6 + 3 words, 60 bytes
    EXPECT_EQ(tune.size(), 9u);
    const std::vector<std::uint32_t> words(tune.events(), tune.events() + tune.size());
    EXPECT_EQ(words, (std::vector<std::uint32_t>{0, 0, 0x7F3C99, 16, 0, 0x7F3C89, 16, 0, 0x2FFF}));
}

TEST_F(TuneTest, StepTuneIsTheRefusalTuneOnNote62)
{
    EXPECT_EQ(compiled("o5d16", 9), (std::vector<Event>{{0, 0x7F3E99}, {16, 0x7F3E89}, closing(16)}));
}

TEST_F(TuneTest, FanfareComesOutWordForWord)
{
    Tune tune;
    ASSERT_TRUE(tune.compile("p2(o5go6ce)8(o5go6ce)16(o5go6ce)16(o5go6ce)2", 0).ok());
    EXPECT_EQ(tune.capacity(), 129u);  // 21 letters, 516 bytes
    EXPECT_EQ(tune.size(), 78u);
    EXPECT_EQ(tune.sizeInBytes(), 312u);

    std::vector<Event> expected = {{0, 0x1C0}};
    const std::uint32_t lengths[] = {32, 16, 16, 128};
    for (std::uint32_t length : lengths) {
        expected.insert(expected.end(), {on(67), on(72), on(76), off(67, length), off(72), off(76)});
    }
    expected.push_back(closing(128));
    EXPECT_EQ(eventsOf(tune), expected);
}

TEST_F(TuneTest, NotesAndAccidentals)
{
    EXPECT_EQ(compiled(""), (std::vector<Event>{closing(0)}));
    EXPECT_EQ(compiled("c"), (std::vector<Event>{on(48), off(48, 64), closing(64)}));
    EXPECT_EQ(compiled("C"), compiled("c")) << "letters are case-insensitive";
    EXPECT_EQ(compiled("+c"), (std::vector<Event>{on(49), off(49, 64), closing(64)}));
    EXPECT_EQ(compiled("c+d"), (std::vector<Event>{on(48), off(48, 64), on(51), off(51, 64), closing(64)}));
    EXPECT_EQ(compiled("-c-c").front(), on(47));
    EXPECT_EQ(compiled("-cc")[2], on(48)) << "the sign applies to one note only";
    EXPECT_EQ(compiled("o5a o6b"), (std::vector<Event>{on(69), off(69, 64), on(83), off(83, 64), closing(64)}));
}

TEST_F(TuneTest, KeySignatures)
{
    EXPECT_EQ(compiled("M+2fc"), (std::vector<Event>{on(54), off(54, 64), on(49), off(49, 64), closing(64)}));
    EXPECT_EQ(compiled("M-1b").front(), on(58));
    EXPECT_EQ(compiled("M+0f").front(), on(54)) << "n of 0 sets one letter";
    EXPECT_EQ(compiled("M+0c").front(), on(48));
    EXPECT_EQ(compiled("M-9f").front(), on(52)) << "n above 7 sets all seven";
    EXPECT_EQ(compiled("M+1M-1fb")[0], on(54)) << "letters not named keep their value";
    EXPECT_EQ(compiled("M+1M-1fb")[2], on(58));
    EXPECT_EQ(compiled("Mxc"), compiled("c")) << "M followed by anything else eats it";
    EXPECT_EQ(compiled("M"), compiled(""));
}

TEST_F(TuneTest, LengthsAndRests)
{
    EXPECT_EQ(compiled("c4."), (std::vector<Event>{on(48), off(48, 96), closing(96)}));
    EXPECT_EQ(compiled("c16.").back(), closing(24));
    EXPECT_EQ(compiled("c3").back(), closing(85));
    EXPECT_EQ(compiled("c1").back(), closing(256));
    EXPECT_EQ(compiled("c0"), compiled("c"));
    EXPECT_EQ(compiled("c4..").back(), closing(96)) << "only one dot is read";
    EXPECT_EQ(compiled("r4c4"), (std::vector<Event>{on(48, 64), off(48, 64), closing(64)}));
    EXPECT_EQ(compiled("r4r8c").front(), on(48, 96)) << "rests add up";
    EXPECT_EQ(compiled("c4r4"), (std::vector<Event>{on(48), off(48, 64), closing(64)}));
    EXPECT_EQ(compiled("c4r4d4"), (std::vector<Event>{on(48), off(48, 64), on(50, 64), off(50, 64), closing(64)}));
    EXPECT_EQ(compiled("r4"), (std::vector<Event>{closing(0)})) << "a rest alone is never heard";
}

TEST_F(TuneTest, DefaultLengthOutlivesTheCompilation)
{
    EXPECT_EQ(defaultTuneLength(), 4);
    EXPECT_EQ(compiled("T8c"), (std::vector<Event>{on(48), off(48, 32), closing(32)}));
    EXPECT_EQ(defaultTuneLength(), 8);
    EXPECT_EQ(compiled("c"), (std::vector<Event>{on(48), off(48, 32), closing(32)})) << "later compilations keep T";
    EXPECT_EQ(compiled("c4").back(), closing(64)) << "a given length overrides the default";
    EXPECT_EQ(compiled("T0c").back(), closing(32)) << "T 0 changes nothing";
    resetDefaultTuneLength();
    EXPECT_EQ(compiled("c").back(), closing(64));
}

TEST_F(TuneTest, Chords)
{
    EXPECT_EQ(compiled("(ce)4"), (std::vector<Event>{on(48), on(52), off(48, 64), off(52), closing(64)}));
    EXPECT_EQ(compiled("r4(ce)").front(), on(48, 64)) << "only the first note-on carries the rest";
    EXPECT_EQ(compiled("+(ce)")[1], on(52)) << "a sign applies to the first chord note only";
    EXPECT_EQ(compiled("(c-e)")[1], on(51));
    EXPECT_EQ(compiled("(c4.e)"), compiled("(ce)")) << "digits and dots inside a chord are skipped";
    EXPECT_EQ(compiled("(co5c)c")[3], off(60)) << "O inside a chord stays in force";
    EXPECT_EQ(compiled("(co5c)c")[4], on(60));
    EXPECT_EQ(compiled("()8"), (std::vector<Event>{closing(32)}));
    EXPECT_EQ(compiled("r4()8c"), (std::vector<Event>{on(48), off(48, 64), closing(64)}))
        << "an empty chord drops the rest";
}

TEST_F(TuneTest, ProgramChanges)
{
    EXPECT_EQ(compiled("p1", 3), (std::vector<Event>{{0, 0xC3}, closing(0)}));
    EXPECT_EQ(compiled("p128").front(), (Event{0, 0x7FC0}));
    EXPECT_EQ(compiled("r4p5c"), (std::vector<Event>{{0, 0x4C0}, on(48, 64), off(48, 64), closing(64)}))
        << "the pending rest stays pending";
    EXPECT_EQ(compiled("c4p5").at(1), off(48, 64)) << "the note ends before the program changes";
    EXPECT_EQ(compiled("p0"), compiled("")) << "P 0 is ignored";
    EXPECT_EQ(compiled("p129"), compiled("")) << "P above 128 is ignored";
}

TEST_F(TuneTest, StrayCharactersAreSkipped)
{
    EXPECT_EQ(compiled(" c 12 . ) x "), (std::vector<Event>{on(48), off(48, 64), closing(64)}));
    EXPECT_EQ(compiled("c\xE9\xFF"), compiled("c")) << "bytes above 127 are not letters";
}

TEST_F(TuneTest, UnclosedChordEndsAtTheEndOfTheText)
{
    EXPECT_EQ(compiled("(ce"), (std::vector<Event>{on(48), on(52), off(48, 64), off(52), closing(64)}));
    EXPECT_EQ(compiled("("), (std::vector<Event>{closing(64)}));
}

TEST_F(TuneTest, ChordNotesPastTheSeventhAreIgnored)
{
    const std::vector<Event> events = compiled("(cdefgabo5cde)");
    ASSERT_EQ(events.size(), 15u);  // seven on, seven off, closing
    EXPECT_EQ(events[6], on(59));
    EXPECT_EQ(events[13], off(59));
}

TEST_F(TuneTest, NotesOutsideTheMidiRangeAreLeftOut)
{
    EXPECT_EQ(compiled("o0-c"), compiled("()")) << "note -1 would borrow from the status byte";
    EXPECT_EQ(compiled("o10a"), compiled("()")) << "note 129 would spill into the velocity byte";
    EXPECT_EQ(compiled("o10g").front(), on(127));
    EXPECT_EQ(compiled("o0c").front(), on(0));
    EXPECT_EQ(compiled("(o10ao5c)"), (std::vector<Event>{on(60), off(60, 64), closing(64)}));
}

TEST_F(TuneTest, HugeNumbersSaturate)
{
    EXPECT_EQ(compiled("o99999999999999999999c"), compiled("()"));
    EXPECT_EQ(compiled("c99999999999999999999"), (std::vector<Event>{on(48), off(48, 0), closing(0)}));
}

TEST_F(TuneTest, BadArgumentsAreRefusedAndChangeNothing)
{
    Tune tune;
    CompileResult result = tune.compile(nullptr, 0);
    EXPECT_FALSE(result.ok());
    result = tune.compile("c", 16);
    EXPECT_NE(result.error.find("16"), std::string::npos) << result.error;
    result = tune.compile("c", -1);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(tune.events(), nullptr);
    EXPECT_EQ(tune.size(), 0u);
    EXPECT_EQ(tune.capacity(), 0u);

    ASSERT_TRUE(tune.compile("c", 15).ok());
    const std::uint32_t* events = tune.events();
    result = tune.compile("o5c16", 0);
    EXPECT_FALSE(result.ok()) << "a tune is compiled once";
    EXPECT_EQ(tune.events(), events);
    EXPECT_EQ(eventsOf(tune), (std::vector<Event>{on(48, 0, 15), off(48, 64, 15), closing(64)}));
}

// The worst texts for the buffer: every letter writes its two events, or
// the text holds more events than letters would allow without the guards.
// Run under AddressSanitizer, a write past the buffer fails the test.
TEST_F(TuneTest, NoTextWritesPastTheBuffer)
{
    const std::vector<std::string> texts = {
        "cdefgab",
        "(cdefgab)(cdefgab)p1p2",
        "(cdefgabcdefgabcdefgab)",
        "((((((((c",
        "(c(d(e(f(g(a(b(c",
        "+-+-+-+-c()()()()",
        "p1p1p1p1p1p1p1p1",
        "o0-c-c-c(-c-d)",
        "o10abababab(ab)",
        "m+m-m",
        "t1t0tc.",
        std::string(1000, '(') + "c",
        std::string(300, 'p') + "1",
    };
    for (const std::string& text : texts) {
        Tune tune;
        ASSERT_TRUE(tune.compile(text.c_str(), 0).ok()) << text;
        EXPECT_LE(tune.size(), tune.capacity()) << text;
        EXPECT_EQ(tune.events()[tune.size() - 1], kClosingEvent) << text;
    }
    std::string everyNote;
    for (int i = 0; i < 7 * 20; ++i)
        everyNote += static_cast<char>('a' + i % 7);
    Tune full;
    ASSERT_TRUE(full.compile(everyNote.c_str(), 0).ok());
    EXPECT_EQ(full.size(), full.capacity()) << "two events per letter and the closing event fill the buffer exactly";
}

}  // namespace
}  // namespace vokta
