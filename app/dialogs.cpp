#include "app/dialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/dialogs.h"

namespace vokta {

namespace {

constexpr Qt::WindowFlags kNoCaption = Qt::Dialog | Qt::FramelessWindowHint;

QLabel* picture(QWidget* parent, const QString& resource)
{
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap(resource));
    label->setFixedSize(label->pixmap().size());
    return label;
}

}  // namespace

StartDialog::StartDialog(std::function<void(QWidget* dialog)> help) : QDialog(nullptr, kNoCaption)
{
    setWindowTitle(QStringLiteral("Vokta"));
    const DialogWords words = dialogWords(Language::English);
    auto* start = new QPushButton(QString::fromStdString(words.start), this);
    auto* helpButton = new QPushButton(QString::fromStdString(words.help), this);
    auto* quit = new QPushButton(QString::fromStdString(words.quit), this);
    start->setObjectName(QStringLiteral("start"));
    helpButton->setObjectName(QStringLiteral("help"));
    quit->setObjectName(QStringLiteral("quit"));
    // START answers Enter unless another button has the focus.
    start->setDefault(true);
    connect(start, &QPushButton::clicked, this, [this] { done(static_cast<int>(StartChoice::Start)); });
    connect(quit, &QPushButton::clicked, this, [this] { done(static_cast<int>(StartChoice::Quit)); });
    connect(helpButton, &QPushButton::clicked, this, [this, help = std::move(help)] { help(this); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start);
    buttons->addStretch();
    buttons->addWidget(helpButton);
    buttons->addStretch();
    buttons->addWidget(quit);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addWidget(picture(this, QStringLiteral(":/pictures/start.png")));
    auto* row = new QHBoxLayout;
    row->setContentsMargins(10, 0, 10, 0);
    row->addLayout(buttons);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

StartChoice StartDialog::choose()
{
    // Escape and closing the dialog reject it: the same as QUIT.
    return exec() == static_cast<int>(StartChoice::Start) ? StartChoice::Start : StartChoice::Quit;
}

AboutDialog::AboutDialog(QWidget* owner, Language language) : QDialog(owner, kNoCaption)
{
    setWindowTitle(QStringLiteral("Vokta"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* shown = picture(this, QStringLiteral(":/") + QString::fromStdString(dialogWords(language).aboutPicture));
    // Releases over the picture reach the dialog.
    shown->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(shown);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialog::keyPressEvent(QKeyEvent*)
{
    accept();
}

void AboutDialog::mouseReleaseEvent(QMouseEvent*)
{
    accept();
}

RandomTaskDialog::RandomTaskDialog(QWidget* owner, Language language) : QDialog(owner)
{
    const DialogWords words = dialogWords(language);
    setWindowTitle(QString::fromStdString(words.randomCaption));
    auto* buttons = new QDialogButtonBox(this);
    // Each button ends the dialog with its difficulty's place in kDifficulties, from 1.
    for (std::size_t k = 0; k < kDifficulties.size(); ++k) {
        QPushButton* button =
            buttons->addButton(QString::fromStdString(words.difficulties[k]), QDialogButtonBox::AcceptRole);
        button->setObjectName(QString::fromLatin1(difficultyName(kDifficulties[k])));
        connect(button, &QPushButton::clicked, this, [this, k] { done(static_cast<int>(k) + 1); });
    }
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromStdString(words.randomQuestion), this));
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<Difficulty> RandomTaskDialog::choose()
{
    const int chosen = exec();
    if (chosen < 1 || chosen > static_cast<int>(kDifficulties.size()))
        return std::nullopt;
    return kDifficulties[static_cast<std::size_t>(chosen - 1)];
}

}  // namespace vokta
