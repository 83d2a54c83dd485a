#pragma once

#include <functional>
#include <vector>

#include <QObject>

#include "puzzle/controller/commands.h"
#include "shell/messages.h"

class QAction;
class QMenu;
class QMenuBar;

namespace vokta {

// The game's menu bar: Task, the piece menu and Help, with the texts of the
// current language. Each item sends its command identifier; the text after
// a tab shows as the key hint, with no shortcut of its own (keys reach the
// game through the window's routing). F1 on a highlighted item asks for its
// help instead: the item's command comes with helpRequested set.
class GameMenus : public QObject {
    Q_OBJECT

public:
    // command(id) is called for every item chosen.
    GameMenus(QMenuBar& bar, std::function<void(Command command)> command);

    // Sets every text in language: the translated texts, and the last Help
    // item, which offers the other language.
    void setLanguage(Language language);
    // The piece menu is grey while nothing is selected; Solid shows the
    // figure's view, Undo and Redo whether there is a step to take back or
    // again, the last two Task items the display options.
    void refresh(bool pieceSelected, bool solid, bool canUndo, bool canRedo, bool distinctColours, bool pieceNumbers);

    QMenu* pieceMenu() const { return pieceMenu_; }
    QAction* action(Command command) const;

    // F1 was pressed on an open menu: the next command chosen shows its help.
    bool helpRequested = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Item {
        QAction* action;
        const char* text;  // untranslated
    };

    void addPopup(std::initializer_list<std::pair<int, const char*>> items);

    QMenuBar& bar_;
    std::function<void(Command)> command_;
    std::vector<QMenu*> popups_;
    std::vector<Item> items_;
    QMenu* pieceMenu_ = nullptr;
    QAction* languageItem_ = nullptr;
    Language language_ = Language::English;
};

}  // namespace vokta
