#include "app/menus.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace vokta {

namespace {

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

}  // namespace

GameMenus::GameMenus(QMenuBar& bar, std::function<void(Command command, bool help)> chosen)
    : QObject(&bar), bar_(bar), chosen_(std::move(chosen))
{
    bar_.installEventFilter(this);
}

void GameMenus::show(const std::vector<ShownMenu>& menus)
{
    for (std::size_t m = 0; m < menus.size(); ++m) {
        const ShownMenu& shown = menus[m];
        if (m == popups_.size()) {
            QMenu* popup = bar_.addMenu(QString());
            popup->installEventFilter(this);
            popups_.push_back(popup);
            items_.emplace_back();
        }
        QMenu* popup = popups_[m];
        popup->setTitle(text(shown.title));
        popup->menuAction()->setEnabled(shown.enabled);
        std::vector<QAction*>& items = items_[m];
        for (std::size_t i = 0; i < shown.items.size(); ++i) {
            const ShownItem& item = shown.items[i];
            if (i == items.size()) {
                if (item.separatorBefore)
                    popup->addSeparator();
                QAction* action = popup->addAction(QString());
                connect(action, &QAction::triggered, this, [this, action] {
                    const bool help = helpRequested_;
                    helpRequested_ = false;
                    chosen_(static_cast<Command>(action->data().toInt()), help);
                });
                items.push_back(action);
            }
            QAction* action = items[i];
            // The key hint after a tab, as Qt shows it at the right.
            action->setText(item.keys.empty() ? text(item.text) : text(item.text + '\t' + item.keys));
            action->setData(static_cast<int>(item.command));
            action->setCheckable(item.checkable);
            action->setChecked(item.checked);
            action->setEnabled(item.enabled);
        }
    }
}

QMenu* GameMenus::pieceMenu() const
{
    return popups_.size() > 1 ? popups_[1] : nullptr;
}

QAction* GameMenus::action(Command command) const
{
    for (const std::vector<QAction*>& items : items_) {
        for (QAction* item : items) {
            if (item->data().toInt() == static_cast<int>(command))
                return item;
        }
    }
    return nullptr;
}

bool GameMenus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
        return false;
    if (watched != &bar_ && !qobject_cast<QMenu*>(watched))
        return false;
    // As if Enter had been pressed on the highlighted entry: an item is
    // chosen (and shows its help), a popup title opens its popup, whose next
    // choice shows its help.
    helpRequested_ = true;
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(watched, &enter);
    return true;
}

}  // namespace vokta
