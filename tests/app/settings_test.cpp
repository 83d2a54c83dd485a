// The desktop's store: vokta.ini through QSettings and the progress file.
// What the stored words mean is the shell's (tests/shell).

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "app/settings.h"

namespace vokta {
namespace {

TEST(SettingsStoreTest, KeepsEachValueExactlyAndTheRestOfTheFileAsItIs)
{
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath("vokta.ini");
    SettingsStore store(file, QDir(folder.path()).filePath("progress.txt"));
    EXPECT_EQ(store.read(Stored::Language), std::nullopt) << "no file yet";
    for (const char* name : {"Russian", "russian", "English", "x y = z", "Ёлка"}) {
        store.write(Stored::Language, name);
        EXPECT_EQ(store.read(Stored::Language), name);
        EXPECT_EQ(QSettings(file, QSettings::IniFormat).value("OPTIONS/Language").toString(), QString::fromUtf8(name));
    }
    store.write(Stored::Colours, "Distinct");
    store.write(Stored::Numbers, "Off");
    EXPECT_EQ(store.read(Stored::Language), "Ёлка") << "writing one key keeps the others";
    EXPECT_EQ(store.read(Stored::Colours), "Distinct");

    // Written by hand without quotes, a value with a comma is still one value.
    QFile text(file);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly | QIODevice::Truncate));
    text.write("[OPTIONS]\nLanguage=English, Russian\nColours=Distinct, Original\n");
    text.close();
    EXPECT_EQ(store.read(Stored::Language), "English, Russian");
    EXPECT_EQ(store.read(Stored::Colours), "Distinct, Original");
    EXPECT_EQ(store.read(Stored::Numbers), std::nullopt);
    EXPECT_EQ(store.describe(Stored::Colours), QDir::toNativeSeparators(file).toStdString() + " [OPTIONS] Colours");
}

TEST(SettingsStoreTest, LivesBesideTheProgramWhereItCanAndAFileThatCannotBeWrittenIsLeftBe)
{
    QTemporaryDir folder;
    EXPECT_EQ(SettingsStore::settingsFileFor(folder.path()), QDir(folder.path()).filePath("vokta.ini"));
    // A file stands where the folders would have to be.
    QFile(QDir(folder.path()).filePath("file")).open(QIODevice::WriteOnly);
    SettingsStore nowhere(QDir(folder.path()).filePath("file/vokta.ini"),
                          QDir(folder.path()).filePath("file/progress.txt"));
    nowhere.write(Stored::Language, "Russian");
    nowhere.write(Stored::Progress, "vokta progress 1\n");
    EXPECT_EQ(nowhere.read(Stored::Language), std::nullopt);
    EXPECT_EQ(nowhere.read(Stored::Progress), std::nullopt);
}

TEST(SettingsStoreTest, TheProgressFileIsReplacedWholeAndAnOversizedOneIsNone)
{
    QTemporaryDir folder;
    const QString progress = QDir(folder.path()).filePath("data/Vokta/progress.txt");
    SettingsStore store(QDir(folder.path()).filePath("vokta.ini"), progress);
    store.write(Stored::Progress, "first\nsecond\n");
    store.write(Stored::Progress, "third\n");
    EXPECT_EQ(store.read(Stored::Progress), "third\n") << "its folder made, the old text replaced";
    EXPECT_EQ(QDir(QDir(folder.path()).filePath("data/Vokta")).entryList(QDir::Files), QStringList{"progress.txt"})
        << "no temporary file left";
    QFile file(progress);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray((1 << 22) + 1, 'x'));
    file.close();
    EXPECT_EQ(store.read(Stored::Progress), std::nullopt);
}

}  // namespace
}  // namespace vokta
