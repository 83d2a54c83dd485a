// Feeds arbitrary bytes as the settings file: every value reads as the
// shell reads it (the language at most 79 characters), and what is written
// back reads back the same, the display options included.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

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
    vokta::SettingsStore store(path, path + QStringLiteral(".progress"));
    std::vector<std::string> problems;
    const vokta::Options options = vokta::readOptions(store, problems);
    if (options.languageName.size() > vokta::kLongestLanguageName) {
        std::fprintf(stderr, "read %zu characters\n", options.languageName.size());
        std::abort();
    }
    QFile::remove(path);
    store.write(vokta::Stored::Language, options.languageName);
    vokta::writeDisplayOptions(store, options.display);
    std::vector<std::string> again;
    const vokta::Options read = vokta::readOptions(store, again);
    if (read.languageName != options.languageName || !(read.display == options.display)) {
        std::fprintf(stderr, "\"%s\" written reads back as \"%s\", or the display options do not\n",
                     options.languageName.c_str(), read.languageName.c_str());
        std::abort();
    }
    return 0;
}
