#include "app/settings.h"

#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace vokta {

namespace {

const QString kFileName = QStringLiteral("vokta.ini");
// A progress file is a line a task; anything this large is no progress file of ours.
constexpr qint64 kLargestProgressFile = 1 << 20;

QString settingKey(Stored what)
{
    return QString::fromUtf8(storedName(what).setting.data(), static_cast<qsizetype>(storedName(what).setting.size()));
}

}  // namespace

SettingsStore::SettingsStore(QString settingsFile, QString progressFile)
    : settingsFile_(std::move(settingsFile)), progressFile_(std::move(progressFile))
{
}

QString SettingsStore::settingsFileFor(const QString& executableDirectory)
{
    const QFileInfo beside(QDir(executableDirectory).filePath(kFileName));
    if (beside.exists() ? beside.isWritable() : QFileInfo(executableDirectory).isWritable())
        return beside.absoluteFilePath();
    const QString configuration = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(configuration);
    return QDir(configuration).filePath(kFileName);
}

QString SettingsStore::defaultProgressFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("progress.txt"));
}

std::optional<std::string> SettingsStore::read(Stored what)
{
    if (what == Stored::Progress) {
        QFile file(progressFile_);
        // A missing or unreadable file is no progress.
        if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestProgressFile)
            return std::nullopt;
        return file.readAll().toStdString();
    }
    const QSettings settings(settingsFile_, QSettings::IniFormat);
    const QVariant value = settings.value(settingKey(what));
    if (!value.isValid())
        return std::nullopt;
    const QString text =
        value.typeId() == QMetaType::QStringList ? value.toStringList().join(QStringLiteral(", ")) : value.toString();
    return text.toStdString();
}

void SettingsStore::write(Stored what, std::string_view value)
{
    const QByteArray bytes(value.data(), static_cast<qsizetype>(value.size()));
    if (what == Stored::Progress) {
        QDir().mkpath(QFileInfo(progressFile_).absolutePath());
        QSaveFile file(progressFile_);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0 || !file.commit())
            std::fprintf(stderr, "vokta: %s: progress not saved: %s\n", QFile::encodeName(progressFile_).constData(),
                         file.errorString().toLocal8Bit().constData());
        return;
    }
    QSettings settings(settingsFile_, QSettings::IniFormat);
    settings.setValue(settingKey(what), QString::fromUtf8(bytes));
    settings.sync();
}

std::string SettingsStore::describe(Stored what) const
{
    const QString file = QDir::toNativeSeparators(what == Stored::Progress ? progressFile_ : settingsFile_);
    if (what == Stored::Progress)
        return file.toStdString();
    const std::string_view key = storedName(what).setting;
    const std::size_t slash = key.find('/');
    return file.toStdString() + " [" + std::string(key.substr(0, slash)) + "] " + std::string(key.substr(slash + 1));
}

}  // namespace vokta
