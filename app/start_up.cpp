#include "app/start_up.h"

#include <charconv>
#include <cstdio>
#include <ctime>

#include <QGuiApplication>
#include <QMessageBox>
#include <QUrl>

#include "puzzle/rules/task_code.h"

namespace vokta {

std::optional<unsigned> parseSeed(std::string_view text)
{
    unsigned seed = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    const auto [stop, error] = std::from_chars(text.data(), end, seed);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return seed;
}

std::optional<unsigned> givenSeed()
{
    const QByteArray value = qgetenv("VOKTA_SEED");
    return value.isEmpty() ? std::nullopt : parseSeed(std::string_view(value.constData(), value.size()));
}

unsigned chooseSeed()
{
    const QByteArray value = qgetenv("VOKTA_SEED");
    if (!value.isEmpty()) {
        if (const std::optional<unsigned> seed = givenSeed())
            return *seed;
        std::fprintf(stderr,
                     "vokta: VOKTA_SEED=\"%s\" is not a whole number from 0 to 4294967295; "
                     "the pieces are scattered by the time\n",
                     value.constData());
    }
    return static_cast<unsigned>(std::time(nullptr));
}

bool startsAtOnce()
{
    return qgetenv("VOKTA_START") == "1";
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    for (qsizetype i = 1; i < arguments.size() && line.problem.isEmpty(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--record") || argument == QLatin1String("--replay")) {
            if (i + 1 == arguments.size()) {
                line.problem = QStringLiteral("%1 needs a file").arg(argument);
                break;
            }
            (argument == QLatin1String("--record") ? line.recordFile : line.replayFile) = arguments.at(++i);
        } else if (argument.startsWith(QLatin1String("--"))) {
            line.problem =
                QStringLiteral("unknown option %1; the options are --record FILE and --replay FILE").arg(argument);
        } else if (argument.startsWith(QLatin1String(kTaskLinkScheme.data(), kTaskLinkScheme.size()))) {
            line.taskLink = argument;
        } else if (argument.startsWith(QLatin1String("file:")) && line.taskFile.isEmpty()) {
            line.taskFile = QUrl(argument).toLocalFile();
        } else if (!argument.startsWith(QLatin1Char('-')) && line.taskFile.isEmpty()) {
            line.taskFile = argument;
        }
    }
    if (line.problem.isEmpty() && !line.recordFile.isEmpty() && !line.replayFile.isEmpty())
        line.problem = QStringLiteral("--record and --replay cannot be used together");
    return line;
}

QIcon gameIcon()
{
    QIcon icon(QStringLiteral(":/icons/vokta.svg"));
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1/vokta.png").arg(size), QSize(size, size));
    return icon;
}

void ReportFatalError(const QString& caption, const QString& text)
{
    std::fprintf(stderr, "vokta: %s\n", text.toLocal8Bit().constData());
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return;
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
    box.exec();
}

}  // namespace vokta
