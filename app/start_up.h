#pragma once

#include <optional>
#include <string_view>

#include <QIcon>
#include <QString>
#include <QStringList>

namespace vokta {

// The seed a VOKTA_SEED value gives: a whole number from 0 to 4294967295,
// written in decimal without sign or spaces; nothing for anything else.
std::optional<unsigned> parseSeed(std::string_view text);

// The scene set-up's seed: VOKTA_SEED when it holds a number (tests and bug
// reports replay a scatter that way), else the time.
unsigned chooseSeed();
// VOKTA_SEED's number, when it holds one.
std::optional<unsigned> givenSeed();

// VOKTA_START=1 starts the game at once, as if START had been chosen in the
// start dialog (for scripts, measurements and tests).
bool startsAtOnce();

// What the command line asks for: a task file to start with (the file
// manager opens task files so, as a path or a file: URL), a task link
// (vokta:CODE, as a browser hands one on), a file to record the game to, a
// recording to replay; problem says plainly what is wrong with it, if anything.
struct CommandLine {
    QString taskFile;
    QString taskLink;
    QString recordFile;
    QString replayFile;
    QString problem;
};
CommandLine parseCommandLine(const QStringList& arguments);

// The game's icon in every size desktops use, and scalable.
QIcon gameIcon();

// Tells the player about a failure that ends the game: always on standard
// error, and in a message box with the error icon and no owner wherever a
// box can be seen and answered. The offscreen and minimal platforms have no
// one to answer it, so there (in tests) the message is only written out.
void ReportFatalError(const QString& caption, const QString& text);

}  // namespace vokta
