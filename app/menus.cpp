#include "app/menus.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "puzzle/controller/commands.h"

namespace vokta {

namespace {

constexpr const char* kContext = "Menu";
constexpr int kSeparator = 0;

// The menus as the English interface shows them; Russian comes from the
// translation. Each entry: command identifier (0 for a separator) and text.
constexpr const char* kTaskTitle = QT_TRANSLATE_NOOP("Menu", "&Task");
constexpr const char* kPieceTitle = QT_TRANSLATE_NOOP("Menu", "&Vokta");
constexpr const char* kHelpTitle = QT_TRANSLATE_NOOP("Menu", "&Help");

int id(Command command)
{
    return static_cast<int>(command);
}

QString translated(const char* text)
{
    return QCoreApplication::translate(kContext, text);
}

}  // namespace

GameMenus::GameMenus(QMenuBar& bar, std::function<void(Command command)> command)
    : QObject(&bar), bar_(bar), command_(std::move(command))
{
    bar_.installEventFilter(this);
    addPopup({
        {id(Command::New), QT_TRANSLATE_NOOP("Menu", "New")},
        {id(Command::Retry), QT_TRANSLATE_NOOP("Menu", "Retry")},
        {id(Command::Load), QT_TRANSLATE_NOOP("Menu", "Load...")},
        {id(Command::Save), QT_TRANSLATE_NOOP("Menu", "Save...")},
        {id(Command::Library), QT_TRANSLATE_NOOP("Menu", "Library...")},
        {kSeparator, nullptr},
        {id(Command::Solid), QT_TRANSLATE_NOOP("Menu", "Solid")},
        {kSeparator, nullptr},
        {id(Command::Hint), QT_TRANSLATE_NOOP("Menu", "Hint\tH")},
        {kSeparator, nullptr},
        {id(Command::Undo), QT_TRANSLATE_NOOP("Menu", "Undo\tCtrl+Z")},
        {id(Command::Redo), QT_TRANSLATE_NOOP("Menu", "Redo\tCtrl+Y")},
        {id(Command::ResetView), QT_TRANSLATE_NOOP("Menu", "Reset view\tHome")},
        {kSeparator, nullptr},
        {id(Command::DistinctColours), QT_TRANSLATE_NOOP("Menu", "Distinct colours")},
        {id(Command::PieceNumbers), QT_TRANSLATE_NOOP("Menu", "Piece numbers")},
    });
    addPopup({
        {id(Command::MoveLeft), QT_TRANSLATE_NOOP("Menu", "Move Left\tLeft")},
        {id(Command::MoveRight), QT_TRANSLATE_NOOP("Menu", "Move Right\tRight")},
        {id(Command::MoveUp), QT_TRANSLATE_NOOP("Menu", "Move Up\tPageUp")},
        {id(Command::MoveDown), QT_TRANSLATE_NOOP("Menu", "Move Down\tPageDown")},
        {id(Command::MoveForward), QT_TRANSLATE_NOOP("Menu", "Move forward\tUp")},
        {id(Command::MoveBackward), QT_TRANSLATE_NOOP("Menu", "Move Backward\tDown")},
        {kSeparator, nullptr},
        {id(Command::TurnLeft), QT_TRANSLATE_NOOP("Menu", "Turn Left\tShift+Left")},
        {id(Command::TurnRight), QT_TRANSLATE_NOOP("Menu", "Turn Right\tShift+Right")},
        {id(Command::TurnCounterclockwise), QT_TRANSLATE_NOOP("Menu", "Turn Counterclockwise\tShift+PageUp")},
        {id(Command::TurnClockwise), QT_TRANSLATE_NOOP("Menu", "Turn Clockwise\tShift+PageDown")},
        {id(Command::TurnForward), QT_TRANSLATE_NOOP("Menu", "Turn Forward\tShift+Up")},
        {id(Command::TurnBackward), QT_TRANSLATE_NOOP("Menu", "Turn Backward\tShift+Down")},
    });
    addPopup({
        {id(Command::About), QT_TRANSLATE_NOOP("Menu", "About")},
        {id(Command::HelpIndex), QT_TRANSLATE_NOOP("Menu", "Index")},
        {id(Command::KeyboardHelp), QT_TRANSLATE_NOOP("Menu", "Keyboard controls")},
        {id(Command::MouseHelp), QT_TRANSLATE_NOOP("Menu", "Mouse controls")},
        {kSeparator, nullptr},
    });
    // The last Help item offers the other language; setLanguage names it.
    languageItem_ = popups_[2]->addAction(QString());
    connect(languageItem_, &QAction::triggered, this,
            [this] { command_(static_cast<Command>(languageItem_->data().toInt())); });
    pieceMenu_ = popups_[1];
    for (const Command checkable : {Command::Solid, Command::DistinctColours, Command::PieceNumbers})
        action(checkable)->setCheckable(true);
    setLanguage(Language::English);
}

void GameMenus::addPopup(std::initializer_list<std::pair<int, const char*>> items)
{
    QMenu* popup = bar_.addMenu(QString());
    popup->installEventFilter(this);
    popups_.push_back(popup);
    for (const auto& [command, text] : items) {
        if (command == kSeparator) {
            popup->addSeparator();
            continue;
        }
        QAction* item = popup->addAction(QString());
        item->setData(command);
        connect(item, &QAction::triggered, this,
                [this, command = command] { command_(static_cast<Command>(command)); });
        items_.push_back({item, text});
    }
}

void GameMenus::setLanguage(Language language)
{
    language_ = language;
    const char* titles[] = {kTaskTitle, kPieceTitle, kHelpTitle};
    for (std::size_t i = 0; i < popups_.size(); ++i)
        popups_[i]->setTitle(translated(titles[i]));
    for (const Item& item : items_)
        item.action->setText(translated(item.text));
    if (language == Language::English) {
        languageItem_->setText(QStringLiteral("Russian"));
        languageItem_->setData(id(Command::Russian));
    } else {
        languageItem_->setText(QStringLiteral("English"));
        languageItem_->setData(id(Command::English));
    }
}

void GameMenus::refresh(bool pieceSelected, bool solid, bool canUndo, bool canRedo, bool distinctColours,
                        bool pieceNumbers)
{
    pieceMenu_->menuAction()->setEnabled(pieceSelected);
    action(Command::Solid)->setChecked(solid);
    action(Command::Undo)->setEnabled(canUndo);
    action(Command::Redo)->setEnabled(canRedo);
    action(Command::DistinctColours)->setChecked(distinctColours);
    action(Command::PieceNumbers)->setChecked(pieceNumbers);
}

QAction* GameMenus::action(Command command) const
{
    if (languageItem_ && languageItem_->data().toInt() == id(command))
        return languageItem_;
    for (const Item& item : items_) {
        if (item.action->data().toInt() == id(command))
            return item.action;
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
    helpRequested = true;
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(watched, &enter);
    return true;
}

}  // namespace vokta
