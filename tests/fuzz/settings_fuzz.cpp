// Feeds arbitrary bytes as the settings file. The language read is at most
// 79 characters, and what is written back reads back the same, display
// options included.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "app/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString path =
        QDir::temp().filePath(QStringLiteral("vokta-settings-fuzz-%1.ini").arg(QCoreApplication::applicationPid()));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const vokta::LanguageSetting setting(path);
    const QString read = setting.read();
    const vokta::DisplayOptions options = vokta::readDisplayOptions(path);
    if (read.size() > vokta::LanguageSetting::kLongestName) {
        std::fprintf(stderr, "read %lld characters\n", static_cast<long long>(read.size()));
        std::abort();
    }
    QFile::remove(path);
    setting.write(read);
    if (setting.read() != read) {
        std::fprintf(stderr, "\"%s\" written reads back as \"%s\"\n", qPrintable(read), qPrintable(setting.read()));
        std::abort();
    }
    vokta::writeDisplayOptions(path, options);
    if (!(vokta::readDisplayOptions(path) == options)) {
        std::fprintf(stderr, "display options written do not read back the same\n");
        std::abort();
    }
    return 0;
}
