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
// A progress file is a line a task, a kept game a few bytes a step; anything
// this large is no file of ours.
constexpr qint64 kLargestFile = 1 << 22;

QString settingKey(Stored what)
{
    return QString::fromUtf8(storedName(what).setting.data(), static_cast<qsizetype>(storedName(what).setting.size()));
}

}  // namespace

SettingsStore::SettingsStore(QString settingsFile, QString progressFile, QString gameFile)
    : settingsFile_(std::move(settingsFile)), progressFile_(std::move(progressFile)), gameFile_(std::move(gameFile))
{
}

QString SettingsStore::fileOf(Stored what) const
{
    switch (what) {
    case Stored::Progress: return progressFile_;
    case Stored::Game: return gameFile_;
    default: return {};
    }
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

QString SettingsStore::defaultGameFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("game.kept"));
}

std::optional<std::string> SettingsStore::read(Stored what)
{
    if (what == Stored::Progress || what == Stored::Game) {
        QFile file(fileOf(what));
        // A missing or unreadable file is none; an oversized one is none of ours.
        if (fileOf(what).isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > kLargestFile)
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
    if (what == Stored::Progress || what == Stored::Game) {
        const QString path = fileOf(what);
        if (path.isEmpty())
            return;
        QDir().mkpath(QFileInfo(path).absolutePath());
        // QSaveFile hands the new file to the disk before it takes the old one's name.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0 || !file.commit())
            std::fprintf(stderr, "vokta: %s: %s not kept: %s\n", QFile::encodeName(path).constData(),
                         what == Stored::Game ? "the game" : "progress", file.errorString().toLocal8Bit().constData());
        return;
    }
    QSettings settings(settingsFile_, QSettings::IniFormat);
    settings.setValue(settingKey(what), QString::fromUtf8(bytes));
    settings.sync();
}

std::string SettingsStore::describe(Stored what) const
{
    const QString own = fileOf(what);
    const QString file = QDir::toNativeSeparators(own.isEmpty() ? settingsFile_ : own);
    if (!own.isEmpty())
        return file.toStdString();
    const std::string_view key = storedName(what).setting;
    const std::size_t slash = key.find('/');
    return file.toStdString() + " [" + std::string(key.substr(0, slash)) + "] " + std::string(key.substr(slash + 1));
}

std::string SettingsStore::setAside(Stored what)
{
    const QString path = fileOf(what);
    if (path.isEmpty() || !QFile::exists(path))
        return {};
    QString aside = path + QStringLiteral(".set-aside");
    for (int k = 2; QFile::exists(aside); ++k)
        aside = path + QStringLiteral(".set-aside-%1").arg(k);
    if (!QFile::rename(path, aside))
        return {};
    return QDir::toNativeSeparators(aside).toStdString();
}

}  // namespace vokta
