#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <string_view>

#include "shell/language.h"
#include "shell/menus.h"

class QTextBrowser;
class QWidget;

namespace vokta {

// The help pages, in English and in Russian, built into the game: a help
// window with contents and links, and the small pop-ups F1 shows for single
// menu items (their words from the shell's menus).
class Help {
public:
    // The page a help command opens (see helpPage).
    void showTopic(QWidget* owner, Language language, Command topic);
    void showContents(QWidget* owner, Language language);
    // A pop-up at the pointer.
    void showPopup(QWidget* owner, std::string_view html);

    // The window, while it is open (tests look into it).
    QDialog* window() const { return window_; }
    QTextBrowser* browser() const { return browser_; }

private:
    void showPage(QWidget* owner, Language language, const QString& page);

    QPointer<QDialog> window_;
    QTextBrowser* browser_ = nullptr;
};

}  // namespace vokta
