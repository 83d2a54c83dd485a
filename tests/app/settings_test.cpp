#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "app/settings.h"

namespace vokta {
namespace {

TEST(LanguageSettingTest, ReadsWhatIsStoredAsItIsAndWritesItBackExactly)
{
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath("vokta.ini");
    const LanguageSetting setting(file);
    EXPECT_EQ(setting.read(), "English") << "no file yet";
    for (const QString& name : QStringList{"Russian", "russian", "English", QString(100, QLatin1Char('x'))}) {
        QSettings(file, QSettings::IniFormat).setValue("OPTIONS/Language", name);
        const QString read = setting.read();
        EXPECT_EQ(read, name.left(LanguageSetting::kLongestName));
        setting.write(read);
        EXPECT_EQ(QSettings(file, QSettings::IniFormat).value("OPTIONS/Language").toString(), read);
    }
    QFile text(file);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_TRUE(text.readAll().contains("[OPTIONS]"));
    text.close();

    // Written by hand without quotes, a value with a comma is still one name.
    ASSERT_TRUE(text.open(QIODevice::WriteOnly | QIODevice::Truncate));
    text.write("[OPTIONS]\nLanguage=English, Russian\n");
    text.close();
    EXPECT_EQ(setting.read(), "English, Russian");
    setting.write(setting.read());
    EXPECT_EQ(setting.read(), "English, Russian");
}

TEST(LanguageSettingTest, LivesBesideTheProgramWhereItCanAndAFileThatCannotBeWrittenIsLeftBe)
{
    QTemporaryDir folder;
    EXPECT_EQ(LanguageSetting::filePathFor(folder.path()), QDir(folder.path()).filePath("vokta.ini"));
    // A file stands where its folder would have to be.
    QFile(QDir(folder.path()).filePath("file")).open(QIODevice::WriteOnly);
    const LanguageSetting nowhere(QDir(folder.path()).filePath("file/vokta.ini"));
    nowhere.write("Russian");
    EXPECT_EQ(nowhere.read(), "English");
}

TEST(DisplayOptionsTest, OnlyTheExactWordsTurnTheOptionsOnAndWritingKeepsTheRestOfTheFile)
{
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath("vokta.ini");
    EXPECT_EQ(readDisplayOptions(file), DisplayOptions{}) << "no file yet";

    // The lines of the file as written by hand, and what they turn on.
    struct Row {
        const char* lines;
        DisplayOptions read;
    };
    const Row rows[] = {
        {"", {}},
        {"Colours=Distinct\nNumbers=On\n", {true, true}},
        {"Colours=Distinct\n", {true, false}},
        {"Numbers=On\n", {false, true}},
        {"Colours=distinct\nNumbers=on\n", {}},
        {"Colours=Distinctive\nNumbers=One\n", {}},
        {"Colours=Original\nNumbers=Off\n", {}},
        {"Colours=1\nNumbers=true\n", {}},
        {"Colours=Distinct, Original\nNumbers=On, Off\n", {}},
        {"Colours=\nNumbers=\n", {}},
    };
    for (const Row& row : rows) {
        QFile text(file);
        ASSERT_TRUE(text.open(QIODevice::WriteOnly | QIODevice::Truncate));
        text.write(QByteArray("[OPTIONS]\nLanguage=Russian\n") + row.lines);
        text.close();
        const DisplayOptions read = readDisplayOptions(file);
        EXPECT_EQ(read.distinctColours, row.read.distinctColours) << row.lines;
        EXPECT_EQ(read.pieceNumbers, row.read.pieceNumbers) << row.lines;
    }

    for (const DisplayOptions options : {DisplayOptions{true, false}, DisplayOptions{false, true}, DisplayOptions{}}) {
        writeDisplayOptions(file, options);
        EXPECT_EQ(readDisplayOptions(file), options);
        const QSettings written(file, QSettings::IniFormat);
        EXPECT_EQ(written.value("OPTIONS/Colours").toString(), options.distinctColours ? "Distinct" : "Original");
        EXPECT_EQ(written.value("OPTIONS/Numbers").toString(), options.pieceNumbers ? "On" : "Off");
        EXPECT_EQ(LanguageSetting(file).read(), "Russian");
    }
}

}  // namespace
}  // namespace vokta
