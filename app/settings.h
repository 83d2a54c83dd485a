#pragma once

#include <QString>

#include "shell/options.h"

namespace vokta {

// The desktop's store for what the game keeps between sessions: the
// options in the INI file "vokta.ini" (section OPTIONS), the progress in a
// file of its own.
class SettingsStore : public ShellStore {
public:
    SettingsStore(QString settingsFile, QString progressFile);

    // Where vokta.ini is for an executable in executableDirectory: beside it
    // when that folder can be written, otherwise (an installed game) in the
    // user's configuration folder.
    static QString settingsFileFor(const QString& executableDirectory);
    // progress.txt in the user's data folder.
    static QString defaultProgressFile();

    // A value as QSettings reads it; an unquoted value with commas, which it
    // reads as a list, is joined back into one.
    std::optional<std::string> read(Stored what) override;
    // Through QSettings for the options; the progress through a temporary
    // file and a rename. A file that cannot be written is reported on
    // standard error and left be.
    void write(Stored what, std::string_view value) override;
    std::string describe(Stored what) const override;

    const QString& settingsFile() const { return settingsFile_; }
    const QString& progressFile() const { return progressFile_; }

private:
    QString settingsFile_;
    QString progressFile_;
};

}  // namespace vokta
