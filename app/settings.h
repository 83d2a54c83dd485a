#pragma once

#include <QString>

namespace vokta {

// The interface language, as section "OPTIONS", key "Language" of the INI
// file "vokta.ini". The file lives beside the executable when that folder is
// writable, otherwise (an installed game) in the user's configuration folder.
class LanguageSetting {
public:
    static constexpr int kLongestName = 79;

    explicit LanguageSetting(QString filePath) : filePath_(std::move(filePath)) {}

    // Where the file is for an executable in executableDirectory.
    static QString filePathFor(const QString& executableDirectory);

    // The stored name as it stands, at most kLongestName characters, or
    // "English" when there is none.
    QString read() const;
    // Stores name exactly as given; a file that cannot be written is left be.
    void write(const QString& name) const;

    const QString& filePath() const { return filePath_; }

private:
    QString filePath_;
};

// The display options, kept in the same section of the same file: key
// "Colours" is "Distinct" for the distinct palette and key "Numbers" is "On"
// for the piece numbers, exactly; anything else, or nothing, means off.
struct DisplayOptions {
    bool distinctColours = false;
    bool pieceNumbers = false;

    bool operator==(const DisplayOptions&) const = default;
};

DisplayOptions readDisplayOptions(const QString& filePath);
// Writes both keys; an option that is off is written "Original" or "Off".
// A file that cannot be written is left be.
void writeDisplayOptions(const QString& filePath, DisplayOptions options);

}  // namespace vokta
