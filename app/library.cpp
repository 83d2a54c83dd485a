#include "app/library.h"

#include <cmath>

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPainter>
#include <QVBoxLayout>

#include "puzzle/game_scene.h"
#include "puzzle/scene_setup.h"
#include "puzzle/task_file.h"
#include "puzzle/task_library.h"
#include "render/gl/picture_renderer.h"
#include "render/scene_object.h"
#include "render/viewport.h"

namespace vokta {

namespace {

constexpr QSize kThumbnail{160, 120};
constexpr Colour kFigureColour = 0xFFB08830;
// Half the diagonal of a cube of edge 10.
constexpr float kCubeHalfDiagonal = 8.67f;

// The figure of a task as solid cubes on background, seen from the side the
// game's camera starts on, from far enough to show all of it.
QImage drawFigure(PictureRenderer& renderer, const std::string& modelDirectory, const Task& task, Colour background)
{
    Scene scene(modelDirectory);
    scene.setBackground(background);
    addSceneLights(scene);

    SceneObject figure(scene);
    figure.frame()->addVisual(meshAtCells(scene, kModelFileName, "x3ds_cube", "cube", task.cells));
    Vec3 low{}, high{};
    for (std::size_t k = 0; k < task.cells.size(); ++k) {
        const Vec3 cell = task.cells[k];
        low = k == 0 ? cell : Vec3{std::min(low.x, cell.x), std::min(low.y, cell.y), std::min(low.z, cell.z)};
        high = k == 0 ? cell : Vec3{std::max(high.x, cell.x), std::max(high.y, cell.y), std::max(high.z, cell.z)};
    }
    figure.setColour(kFigureColour);
    figure.setQuality(RenderQuality::Flat);

    const Vec3 middle = (low + high) * 0.5f;
    // The sphere round the figure, its cubes' corners included, just fits the
    // picture's height: the view spans Viewport::kField at unit distance.
    const float radius = modulus(high - low) * 0.5f + kCubeHalfDiagonal;
    const float reach = radius * std::sqrt(1.0f + 1.0f / (Viewport::kField * Viewport::kField)) * 1.05f;
    const std::shared_ptr<Frame>& camera = scene.cameraFrame();
    camera->setPosition(scene.sceneFrame().get(), middle + normalize(Vec3{1.0f, 1.2f, 1.0f}) * reach);
    camera->setOrientation(scene.sceneFrame().get(), Vec3{-1.0f, -1.2f, -1.0f}, {0, 0, 1});
    return renderer.render(scene, kThumbnail, 4);
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
