#include "app/help.h"

#include <algorithm>

#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "puzzle/controller/commands.h"

namespace vokta {

namespace {

constexpr Command kPopupCommands[] = {
    Command::New,          Command::Load,  Command::Save,      Command::Solid,
    Command::English,      Command::Retry, Command::Hint,      Command::Library,
    Command::Undo,         Command::Redo,  Command::ResetView, Command::DistinctColours,
    Command::PieceNumbers,
};
constexpr QSize kWindowSize{640, 560};

QString folder(Language language)
{
    return language == Language::Russian ? QStringLiteral("qrc:/help/ru/") : QStringLiteral("qrc:/help/en/");
}

QString translate(const char* text)
{
    return QCoreApplication::translate("Help", text);
}

}  // namespace

bool Help::hasPopup(Command command)
{
    return std::find(std::begin(kPopupCommands), std::end(kPopupCommands), command) != std::end(kPopupCommands);
}

QString Help::pageFor(int context)
{
    switch (static_cast<Command>(context)) {
    case Command::KeyboardHelp: return QStringLiteral("keyboard.html");
    case Command::MouseHelp: return QStringLiteral("mouse.html");
    default: return QStringLiteral("index.html");
    }
}

void Help::showContents(QWidget* owner, Language language)
{
    showPage(owner, language, QStringLiteral("index.html"));
}

void Help::showContext(QWidget* owner, Language language, int context)
{
    showPage(owner, language, pageFor(context));
}

void Help::showPopup(QWidget* owner, Language language, Command command)
{
    // "qrc:/help/.." as a resource path is ":/help/..".
    QFile file(folder(language).mid(3) + QStringLiteral("popup-%1.html").arg(static_cast<int>(command)));
    if (!file.open(QIODevice::ReadOnly))
        return showContents(owner, language);
    QWhatsThis::showText(QCursor::pos(), QString::fromUtf8(file.readAll()), owner);
}

void Help::showCommandHelp(QWidget* owner, Language language, Command command)
{
    if (hasPopup(command))
        showPopup(owner, language, command);
    else
        showContents(owner, language);
}

void Help::showPage(QWidget* owner, Language language, const QString& page)
{
    if (window_ && window_->parentWidget() != owner) {
        window_->deleteLater();
        window_ = nullptr;
    }
    if (!window_) {
        window_ = new QDialog(owner, Qt::Window);
        window_->setAttribute(Qt::WA_DeleteOnClose);
        window_->resize(kWindowSize);
        browser_ = new QTextBrowser(window_);
        browser_->setOpenLinks(true);
        auto* contents = new QPushButton(window_);
        auto* back = new QPushButton(window_);
        contents->setObjectName(QStringLiteral("contents"));
        back->setObjectName(QStringLiteral("back"));
        QObject::connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
        QObject::connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(contents);
        buttons->addWidget(back);
        buttons->addStretch();
        auto* layout = new QVBoxLayout(window_);
        layout->addLayout(buttons);
        layout->addWidget(browser_);
        QObject::connect(contents, &QPushButton::clicked, window_, [this] {
            browser_->setSource(browser_->source().resolved(QUrl(QStringLiteral("index.html"))));
        });
    }
    window_->setWindowTitle(translate("Vokta Help"));
    window_->findChild<QPushButton*>(QStringLiteral("contents"))->setText(translate("Contents"));
    window_->findChild<QPushButton*>(QStringLiteral("back"))->setText(translate("Back"));
    browser_->setSource(QUrl(folder(language) + page));
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace vokta
