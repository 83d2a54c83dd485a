#pragma once

#include <QString>

#include "shell/options.h"

namespace vokta {

// The desktop's store for what the game keeps between sessions: the
// options in the INI file "vokta.ini" (section OPTIONS), the progress and
// the game in progress in files of their own (no game is kept without one).
class SettingsStore : public ShellStore {
public:
    SettingsStore(QString settingsFile, QString progressFile, QString gameFile = {});

    // Where vokta.ini is for an executable in executableDirectory: beside it
    // when that folder can be written, otherwise (an installed game) in the
    // user's configuration folder.
    static QString settingsFileFor(const QString& executableDirectory);
    // progress.txt and game.kept in the user's data folder.
    static QString defaultProgressFile();
    static QString defaultGameFile();

    // A value as QSettings reads it; an unquoted value with commas, which it
    // reads as a list, is joined back into one.
    std::optional<std::string> read(Stored what) override;
    // Through QSettings for the options; the progress and the game through a
    // temporary file, handed to the disk, and a rename, so that a file is
    // always whole. A file that cannot be written is reported on standard
    // error and left be.
    void write(Stored what, std::string_view value) override;
    std::string describe(Stored what) const override;
    // Renames the file beside itself (NAME.set-aside, or NAME.set-aside-2 and
    // on when that is taken).
    std::string setAside(Stored what) override;

    const QString& settingsFile() const { return settingsFile_; }
    const QString& progressFile() const { return progressFile_; }

private:
    // The file a value has to itself; empty for the options.
    QString fileOf(Stored what) const;

    QString settingsFile_;
    QString progressFile_;
    QString gameFile_;
};

}  // namespace vokta
