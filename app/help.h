#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include "app/menus.h"

class QTextBrowser;
class QWidget;

namespace vokta {

// The help pages, in English and in Russian, built into the game: a help
// window with contents and links, and small pop-up topics for single
// commands, by the context numbers of the commands.
class Help {
public:
    // Commands whose help is a pop-up at the pointer rather than a page.
    static bool hasPopup(Command command);
    // The page for a help context: keyboard and mouse controls have their
    // own; every other context opens the contents.
    static QString pageFor(int context);

    void showContents(QWidget* owner, Language language);
    void showContext(QWidget* owner, Language language, int context);
    void showPopup(QWidget* owner, Language language, Command command);
    // F1 on a menu item: its pop-up, or else the contents.
    void showCommandHelp(QWidget* owner, Language language, Command command);

    // The window, while it is open (tests look into it).
    QDialog* window() const { return window_; }
    QTextBrowser* browser() const { return browser_; }

private:
    void showPage(QWidget* owner, Language language, const QString& page);

    QPointer<QDialog> window_;
    QTextBrowser* browser_ = nullptr;
};

}  // namespace vokta
