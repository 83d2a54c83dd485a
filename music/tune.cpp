#include "music/tune.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <limits>
#include <new>

namespace vokta {
namespace {

constexpr int kStartDefaultLength = 4;
constexpr int kStartOctaveBase = 48;  // octave 4: "o5c" is note 60
constexpr int kMaxChordNotes = 7;
constexpr int kHighestNote = 127;
constexpr int kHighestProgram = 128;  // P n counts instruments from 1
constexpr std::uint32_t kWholeNoteTicks = 4 * ticksPerQuarter;

// Numbers in a text saturate here, so octave and length arithmetic stays
// well inside int whatever run of digits a text holds.
constexpr int kNumberLimit = 99'999'999;

constexpr std::uint32_t kNoteOn = 0x7F0090;   // velocity 127
constexpr std::uint32_t kNoteOff = 0x7F0080;  // release velocity 127
constexpr std::uint32_t kProgramChange = 0xC0;

// Semitone of each note letter above C, indexed from A.
constexpr int kSemitones[7] = {9, 11, 0, 2, 4, 5, 7};

// The letters a key signature marks, in the order M+n and M-n name them.
constexpr char kSharpOrder[] = "FCGDAEB";
constexpr char kFlatOrder[] = "BEADGCF";

std::atomic<int> defaultLength{kStartDefaultLength};

// The C library's letter test in the "C" locale; written out so a byte above
// 127 is neither undefined behaviour nor counted differently in another locale.
bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isNoteLetter(char c)
{
    return upper(c) >= 'A' && upper(c) <= 'G';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// One pass over a text. Every note letter writes at most one note-on and one
// note-off, every P one program change, and other letters nothing, so the
// events fit in two per letter plus the closing event.
class TuneCompiler {
public:
    TuneCompiler(const char* text, int channel, std::uint32_t* out, std::uint32_t capacity)
        : next_(text), channel_(static_cast<std::uint32_t>(channel)), out_(out), capacity_(capacity)
    {
    }

    std::uint32_t run()
    {
        while (*next_ != '\0') {
            closeSounding();
            readElement();
        }
        closeSounding();
        emit(lastLength_, kClosingEvent);
        return size_;
    }

private:
    void emit(std::uint32_t delta, std::uint32_t event)
    {
        // The letter count bounds the events, so this never refuses; it is
        // the one place that writes, and it never writes past the buffer.
        if (capacity_ - size_ < kWordsPerEvent)
            return;
        out_[size_++] = delta;
        out_[size_++] = 0;
        out_[size_++] = event;
    }

    void closeSounding()
    {
        if (!sounding_)
            return;
        for (int i = 0; i < noteCount_; ++i) {
            emit(i == 0 ? lastLength_ : 0, kNoteOff + channel_ + static_cast<std::uint32_t>(notes_[i]) * 256);
        }
        pendingRest_ = 0;
        oneShot_ = 0;
        sounding_ = false;
    }

    // Writes the note-ons of the note or chord just read; a note is a chord
    // of one. Even an empty chord uses up the pending rest.
    void startSounding(std::uint32_t length)
    {
        for (int i = 0; i < noteCount_; ++i) {
            emit(i == 0 ? pendingRest_ : 0, kNoteOn + channel_ + static_cast<std::uint32_t>(notes_[i]) * 256);
        }
        pendingRest_ = 0;
        lastLength_ = length;
        sounding_ = true;
    }

    void readElement()
    {
        const char c = *next_++;
        switch (upper(c)) {
        case 'A':
        case 'B':
        case 'C':
        case 'D':
        case 'E':
        case 'F':
        case 'G':
            noteCount_ = 0;
            addNote(c);
            startSounding(readLength());
            break;
        case '+': oneShot_ = 1; break;
        case '-': oneShot_ = -1; break;
        case '(': readChord(); break;
        case 'O': octaveBase_ = 12 * readNumber(); break;
        case 'P': readProgram(); break;
        case 'R': pendingRest_ = saturatingAdd(pendingRest_, readLength()); break;
        case 'T': {
            const int n = readNumber();
            if (n != 0)
                defaultLength.store(n);
            break;
        }
        case 'M': readKeySignature(); break;
        default: break;
        }
    }

    // Adds the note of a letter to the chord being read, using up the
    // one-shot accidental. Notes outside the MIDI range and notes past the
    // seventh are left out.
    void addNote(char letter)
    {
        const int index = upper(letter) - 'A';
        const int note = octaveBase_ + oneShot_ + keyAccidentals_[index] + kSemitones[index];
        oneShot_ = 0;
        if (note < 0 || note > kHighestNote || noteCount_ == kMaxChordNotes)
            return;
        notes_[noteCount_++] = note;
    }

    // Inside a chord only note letters, signs and O n count. A chord whose
    // ")" never comes ends at the end of the text.
    void readChord()
    {
        noteCount_ = 0;
        while (*next_ != '\0') {
            const char c = *next_++;
            if (c == ')')
                break;
            if (isNoteLetter(c)) {
                addNote(c);
            } else if (c == '+') {
                oneShot_ = 1;
            } else if (c == '-') {
                oneShot_ = -1;
            } else if (upper(c) == 'O') {
                octaveBase_ = 12 * readNumber();
            }
        }
        startSounding(readLength());
    }

    void readProgram()
    {
        const int n = readNumber();
        if (n < 1 || n > kHighestProgram)
            return;
        emit(0, static_cast<std::uint32_t>(n - 1) * 256 + kProgramChange + channel_);
    }

    void readKeySignature()
    {
        const char sign = *next_;
        if (sign == '\0')
            return;
        ++next_;
        if (sign != '+' && sign != '-')
            return;
        const int count = std::clamp(readNumber(), 1, 7);
        const char* order = sign == '+' ? kSharpOrder : kFlatOrder;
        for (int i = 0; i < count; ++i)
            keyAccidentals_[order[i] - 'A'] = sign == '+' ? 1 : -1;
    }

    // A missing number counts as 0.
    int readNumber()
    {
        int n = 0;
        while (isDigit(*next_)) {
            n = std::min(n * 10 + (*next_ - '0'), kNumberLimit);
            ++next_;
        }
        return n;
    }

    // Ticks of a length: an optional denominator (0 or missing means the
    // default length) and one optional dot, which adds half.
    std::uint32_t readLength()
    {
        int denominator = readNumber();
        if (denominator == 0)
            denominator = defaultLength.load();
        std::uint32_t ticks = kWholeNoteTicks / static_cast<std::uint32_t>(denominator);
        if (*next_ == '.') {
            ++next_;
            ticks = ticks * 3 / 2;
        }
        return ticks;
    }

    static std::uint32_t saturatingAdd(std::uint32_t a, std::uint32_t b)
    {
        return b > std::numeric_limits<std::uint32_t>::max() - a ? std::numeric_limits<std::uint32_t>::max() : a + b;
    }

    const char* next_;
    const std::uint32_t channel_;
    std::uint32_t* const out_;
    const std::uint32_t capacity_;
    std::uint32_t size_ = 0;

    int octaveBase_ = kStartOctaveBase;
    int oneShot_ = 0;
    int keyAccidentals_[7] = {};  // indexed from A
    std::uint32_t pendingRest_ = 0;
    std::uint32_t lastLength_ = 0;

    bool sounding_ = false;
    int notes_[kMaxChordNotes] = {};
    int noteCount_ = 0;
};

}  // namespace

CompileResult Tune::compile(const char* text, int channel)
{
    if (text == nullptr)
        return {0, "tune text is missing"};
    if (channel < 0 || channel > 15) {
        return {0, "MIDI channel " + std::to_string(channel) + " is outside 0 to 15"};
    }
    if (events_)
        return {0, "tune is already compiled"};

    std::size_t letters = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (isLetter(*p))
            ++letters;
    }
    // Two events per letter plus the closing one; the byte count must fit 32 bits.
    const std::size_t maxLetters = (std::numeric_limits<std::uint32_t>::max() - kBytesPerEvent) / (2 * kBytesPerEvent);
    if (letters > maxLetters) {
        return {0, "tune text has " + std::to_string(letters) + " letters, more than " + std::to_string(maxLetters)};
    }
    const auto capacity = static_cast<std::uint32_t>(letters * 2 * kWordsPerEvent + kWordsPerEvent);
    std::unique_ptr<std::uint32_t[]> events(new (std::nothrow) std::uint32_t[capacity]);
    if (!events)
        return {0, "no memory for a tune of " + std::to_string(letters) + " letters"};

    size_ = TuneCompiler(text, channel, events.get(), capacity).run();
    capacity_ = capacity;
    events_ = std::move(events);
    return {size_, {}};
}

int defaultTuneLength()
{
    return defaultLength.load();
}

void resetDefaultTuneLength()
{
    defaultLength.store(kStartDefaultLength);
}

}  // namespace vokta
