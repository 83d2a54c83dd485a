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

#include "shell/dialogs.h"

namespace vokta {

namespace {

constexpr QSize kWindowSize{640, 560};

QString folder(Language language)
{
    return QStringLiteral("qrc:/help/") + QString::fromUtf8(helpFolder(language).data());
}

}  // namespace

void Help::showTopic(QWidget* owner, Language language, Command topic)
{
    showPage(owner, language, QString::fromUtf8(helpPage(topic).data()));
}

void Help::showContents(QWidget* owner, Language language)
{
    showTopic(owner, language, Command::HelpIndex);
}

void Help::showPopup(QWidget* owner, std::string_view html)
{
    QWhatsThis::showText(QCursor::pos(), QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())), owner);
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
    const DialogWords words = dialogWords(language);
    window_->setWindowTitle(QString::fromStdString(words.helpCaption));
    window_->findChild<QPushButton*>(QStringLiteral("contents"))->setText(QString::fromStdString(words.helpContents));
    window_->findChild<QPushButton*>(QStringLiteral("back"))->setText(QString::fromStdString(words.helpBack));
    browser_->setSource(QUrl(folder(language) + page));
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace vokta
