#include "app/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace vokta {

namespace {

const QString kFileName = QStringLiteral("vokta.ini");
const QString kLanguageKey = QStringLiteral("OPTIONS/Language");
const QString kDefaultLanguage = QStringLiteral("English");
const QString kColoursKey = QStringLiteral("OPTIONS/Colours");
const QString kNumbersKey = QStringLiteral("OPTIONS/Numbers");
const QString kDistinctColours = QStringLiteral("Distinct");
const QString kOriginalColours = QStringLiteral("Original");
const QString kNumbersOn = QStringLiteral("On");
const QString kNumbersOff = QStringLiteral("Off");

}  // namespace

QString LanguageSetting::filePathFor(const QString& executableDirectory)
{
    const QFileInfo beside(QDir(executableDirectory).filePath(kFileName));
    if (beside.exists() ? beside.isWritable() : QFileInfo(executableDirectory).isWritable())
        return beside.absoluteFilePath();
    const QString configuration = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(configuration);
    return QDir(configuration).filePath(kFileName);
}

QString LanguageSetting::read() const
{
    const QSettings settings(filePath_, QSettings::IniFormat);
    const QVariant value = settings.value(kLanguageKey, kDefaultLanguage);
    // An unquoted value with commas comes back as a list; join it into one name.
    const QString name =
        value.typeId() == QMetaType::QStringList ? value.toStringList().join(QStringLiteral(", ")) : value.toString();
    return name.left(kLongestName);
}

void LanguageSetting::write(const QString& name) const
{
    QSettings settings(filePath_, QSettings::IniFormat);
    settings.setValue(kLanguageKey, name);
    settings.sync();
}

DisplayOptions readDisplayOptions(const QString& filePath)
{
    const QSettings settings(filePath, QSettings::IniFormat);
    // A value that QSettings reads as a list (it had a comma) is no exact word either.
    return {.distinctColours = settings.value(kColoursKey).toString() == kDistinctColours,
            .pieceNumbers = settings.value(kNumbersKey).toString() == kNumbersOn};
}

void writeDisplayOptions(const QString& filePath, DisplayOptions options)
{
    QSettings settings(filePath, QSettings::IniFormat);
    settings.setValue(kColoursKey, options.distinctColours ? kDistinctColours : kOriginalColours);
    settings.setValue(kNumbersKey, options.pieceNumbers ? kNumbersOn : kNumbersOff);
    settings.sync();
}

}  // namespace vokta
