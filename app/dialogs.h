#pragma once

#include <functional>
#include <optional>

#include <QDialog>

#include "puzzle/rules/generator.h"
#include "shell/language.h"

namespace vokta {

// What the start dialog ended with.
enum class StartChoice { Start = 1, Quit = 2 };

// The start dialog: the picture of the game above START (the default
// button, Enter), HELP (help stays beside the dialog) and QUIT (Escape, or
// closing the dialog). No caption bar, centred on the screen.
class StartDialog : public QDialog {
    Q_OBJECT

public:
    explicit StartDialog(std::function<void(QWidget* dialog)> help);

    // Runs it modally.
    StartChoice choose();
};

// The About picture in the interface's language: no caption bar; any key,
// or the release of any mouse button over it, closes it.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    AboutDialog(QWidget* owner, Language language);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Random task's dialog: the question and a button for each difficulty,
// named by the shell's words, and Cancel (Escape).
class RandomTaskDialog : public QDialog {
    Q_OBJECT

public:
    RandomTaskDialog(QWidget* owner, Language language);

    // Runs it modally: the difficulty chosen, or nothing when cancelled.
    std::optional<Difficulty> choose();
};

}  // namespace vokta
