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

}  // namespace vokta
