#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QDialog>

#include "app/menus.h"
#include "puzzle/controller/progress.h"
#include "render/mesh_builder.h"

class QListWidget;

namespace vokta {

// One task of the library, as its index names it.
// "1:05": minutes and seconds, as the library shows the best time.
QString minutesAndSeconds(std::int64_t ms);

struct LibraryTask {
    QString file;  // full path
    QString english;
    QString russian;
    QString difficulty;  // easy, medium or hard
    quint64 solutions = 0;
};

// The tasks of a library folder in the order of its index.txt (file,
// solutions, difficulty, English name, Russian name, tab-separated).
std::vector<LibraryTask> readLibrary(const QString& folder);

// The library: every task with a picture of its figure, drawn by the game's
// renderer, its name in the interface's language and how hard it is. Opening
// one (or a double click) chooses it.
class LibraryDialog : public QDialog {
    Q_OBJECT

public:
    // The pictures show the figures on background, the game's own; each task
    // shows a check mark and the player's best once progress holds a record of it.
    LibraryDialog(QWidget* owner, const QString& folder, const std::string& modelDirectory, Language language,
                  Colour background, const Progress& progress);

    // The file chosen, once the dialog has been accepted.
    std::optional<QString> chosen() const;

    QListWidget* list() const { return list_; }

private:
    std::vector<LibraryTask> tasks_;
    QListWidget* list_ = nullptr;
};

}  // namespace vokta
