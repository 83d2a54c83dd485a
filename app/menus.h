#pragma once

#include <functional>
#include <vector>

#include <QObject>

#include "shell/menus.h"

class QAction;
class QMenu;
class QMenuBar;

namespace vokta {

// The game's menu bar as the shell's model describes it (shell/menus.h):
// the window only draws it. Each item sends its command; the keys shown
// after a tab are a hint, with no shortcut of their own (keys reach the
// game through the shell's keyboard). F1 on a highlighted item asks for its
// help instead: the item's command comes with help set.
class GameMenus : public QObject {
    Q_OBJECT

public:
    // chosen(command, help) is called for every item chosen.
    GameMenus(QMenuBar& bar, std::function<void(Command command, bool help)> chosen);

    // Shows the menus as given: words, checks, grey items.
    void show(const std::vector<ShownMenu>& menus);

    QMenu* pieceMenu() const;
    QAction* action(Command command) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenuBar& bar_;
    std::function<void(Command, bool)> chosen_;
    std::vector<QMenu*> popups_;
    // The item of each shown item, in the model's order.
    std::vector<std::vector<QAction*>> items_;
    // F1 was pressed on an open menu: the next command chosen shows its help.
    bool helpRequested_ = false;
};

}  // namespace vokta
