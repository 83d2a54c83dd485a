#include "app/library.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPainter>
#include <QVBoxLayout>

#include "puzzle/rules/task_file.h"
#include "puzzle/rules/task_library.h"
#include "puzzle/scene/task_picture.h"
#include "render/gl/picture_renderer.h"

namespace vokta {

namespace {

constexpr QSize kThumbnail{kTaskPictureWidth, kTaskPictureHeight};

QImage drawFigure(PictureRenderer& renderer, const std::string& modelDirectory, const Task& task, Colour background)
{
    TaskPictureScene picture(modelDirectory, task, background);
    return renderer.render(picture.scene, kThumbnail, 4);
}

}  // namespace

std::vector<LibraryTask> readLibrary(const QString& folder)
{
    std::vector<LibraryTask> tasks;
    QFile index(QDir(folder).filePath(QStringLiteral("index.txt")));
    if (!index.open(QIODevice::ReadOnly))
        return tasks;
    const auto text = [](const IndexLine& line, IndexField field) { return QString::fromStdString(line.field(field)); };
    for (const IndexLine& line : parseLibraryIndex(index.readAll().toStdString())) {
        if (line.fields.size() < kIndexFields)
            continue;
        tasks.push_back({QDir(folder).filePath(text(line, IndexField::File)), text(line, IndexField::English),
                         text(line, IndexField::Russian), text(line, IndexField::Difficulty),
                         text(line, IndexField::Solutions).toULongLong()});
    }
    return tasks;
}

QString minutesAndSeconds(std::int64_t ms)
{
    const std::int64_t seconds = ms / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

LibraryDialog::LibraryDialog(QWidget* owner, const QString& folder, const std::string& modelDirectory,
                             Language language, Colour background, const Progress& progress)
    : QDialog(owner), tasks_(readLibrary(folder))
{
    setWindowTitle(tr("Task library"));
    list_ = new QListWidget(this);
    list_->setViewMode(QListView::IconMode);
    list_->setIconSize(kThumbnail);
    list_->setGridSize(kThumbnail + QSize(40, 72));
    list_->setResizeMode(QListView::Adjust);
    list_->setMovement(QListView::Static);
    list_->setWordWrap(true);
    PictureRenderer renderer;
    const bool drawn = renderer.create();
    for (const LibraryTask& task : tasks_) {
        const QString name = language == Language::Russian ? task.russian : task.english;
        const QString difficulty = task.difficulty == QLatin1String("easy") ? tr("easy")
            : task.difficulty == QLatin1String("medium")                    ? tr("medium")
                                                                            : tr("hard");
        // A task that cannot be read is not offered.
        const TaskFileRead read = readTaskFile(QFile::encodeName(task.file).toStdString());
        if (!read.task)
            continue;
        QString text = name + QLatin1Char('\n') + difficulty;
        if (const std::optional<TaskRecord> best = progress.find(taskKey(*read.task))) {
            text = QStringLiteral("\u2714 ") + text + QLatin1Char('\n') +
                tr("moves: %1, time: %2").arg(best->fewestMoves).arg(minutesAndSeconds(best->shortestMs));
        }
        auto* item = new QListWidgetItem(text, list_);
        item->setData(Qt::UserRole, task.file);
        item->setToolTip(tr("%1 ways to solve it").arg(task.solutions));
        if (drawn)
            item->setIcon(QIcon(QPixmap::fromImage(drawFigure(renderer, modelDirectory, *read.task, background))));
    }
    if (list_->count() > 0)
        list_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemActivated, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(880, 600);
}

std::optional<QString> LibraryDialog::chosen() const
{
    if (result() != QDialog::Accepted || !list_->currentItem())
        return std::nullopt;
    return list_->currentItem()->data(Qt::UserRole).toString();
}

}  // namespace vokta
