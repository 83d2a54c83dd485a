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

}  // namespace
}  // namespace vokta
