#include "app/library.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

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

LibraryDialog::LibraryDialog(QWidget* owner, const std::vector<LibraryEntry>& tasks, const std::string& modelDirectory,
                             const std::string& caption, Colour background)
    : QDialog(owner)
{
    setWindowTitle(QString::fromStdString(caption));
    list_ = new QListWidget(this);
    list_->setViewMode(QListView::IconMode);
    list_->setIconSize(kThumbnail);
    list_->setGridSize(kThumbnail + QSize(40, 72));
    list_->setResizeMode(QListView::Adjust);
    list_->setMovement(QListView::Static);
    list_->setWordWrap(true);
    PictureRenderer renderer;
    const bool drawn = renderer.create();
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        const LibraryEntry& task = tasks[i];
        QString text = QString::fromStdString(task.name + '\n' + task.difficulty);
        if (task.record)
            text = QStringLiteral("\u2714 ") + text + QLatin1Char('\n') + QString::fromStdString(*task.record);
        if (task.daysInARow)
            text += QLatin1Char('\n') + QString::fromStdString(*task.daysInARow);
        auto* item = new QListWidgetItem(text, list_);
        item->setData(Qt::UserRole, static_cast<qulonglong>(i));
        item->setToolTip(QString::fromStdString(task.solutions));
        if (drawn)
            item->setIcon(QIcon(QPixmap::fromImage(drawFigure(renderer, modelDirectory, task.task, background))));
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

std::optional<std::size_t> LibraryDialog::chosen() const
{
    if (result() != QDialog::Accepted || !list_->currentItem())
        return std::nullopt;
    return static_cast<std::size_t>(list_->currentItem()->data(Qt::UserRole).toULongLong());
}

}  // namespace vokta
