#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QDialog>

#include "geometry/colour.h"
#include "shell/library.h"

class QListWidget;

namespace vokta {

// The library as the shell lists it: every task with a picture of its
// figure, drawn by the game's renderer, its name in the interface's language,
// how hard it is and the player's best. Opening one (or a double click)
// chooses it.
class LibraryDialog : public QDialog {
    Q_OBJECT

public:
    // The pictures show the figures on background, the palette's.
    LibraryDialog(QWidget* owner, const std::vector<LibraryEntry>& tasks, const std::string& modelDirectory,
                  const std::string& caption, Colour background);

    // The task chosen, once the dialog has been accepted: its index in tasks.
    std::optional<std::size_t> chosen() const;

    QListWidget* list() const { return list_; }

private:
    QListWidget* list_ = nullptr;
};

}  // namespace vokta
