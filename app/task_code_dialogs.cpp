#include "app/task_code_dialogs.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/dialogs.h"

namespace vokta {

namespace {

QString words(const std::string& text)
{
    return QString::fromStdString(text);
}

// Wide enough for the library's longest codes without scrolling.
constexpr int kCodeCharacters = 40;

}  // namespace

ShareTaskDialog::ShareTaskDialog(QWidget* owner, const QString& code, Language language) : QDialog(owner)
{
    const DialogWords shown = dialogWords(language);
    setWindowTitle(words(shown.shareCaption));
    auto* line = new QLineEdit(code, this);
    line->setObjectName(QStringLiteral("taskCode"));
    line->setReadOnly(true);
    line->setMinimumWidth(line->fontMetrics().averageCharWidth() * kCodeCharacters);
    line->selectAll();
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copy = buttons->addButton(words(shown.copy), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("copy"));
    // Enter after a copy closes the dialog rather than copying again.
    copy->setAutoDefault(false);
    QPushButton* ok = buttons->addButton(words(shown.ok), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(copy, &QPushButton::clicked, this, [copy, code, copied = words(shown.copied)] {
        QGuiApplication::clipboard()->setText(code);
        copy->setText(copied);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(words(shown.shareCode), this));
    layout->addWidget(line);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

OpenTaskCodeDialog::OpenTaskCodeDialog(QWidget* owner, Language language) : QDialog(owner)
{
    const DialogWords shown = dialogWords(language);
    setWindowTitle(words(shown.openCodeCaption));
    line_ = new QLineEdit(this);
    line_->setObjectName(QStringLiteral("taskCode"));
    line_->setMinimumWidth(line_->fontMetrics().averageCharWidth() * kCodeCharacters);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* open = buttons->addButton(words(shown.open), QDialogButtonBox::AcceptRole);
    open->setDefault(true);
    buttons->addButton(words(shown.cancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(words(shown.openCodePrompt), this));
    layout->addWidget(line_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString OpenTaskCodeDialog::text() const
{
    return line_->text();
}

}  // namespace vokta
