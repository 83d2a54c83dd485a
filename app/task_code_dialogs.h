#pragma once

#include <QDialog>
#include <QString>

#include "shell/language.h"

class QLineEdit;

namespace vokta {

// Share task...: the current task's code, selected, to copy by hand or
// with the Copy button, which puts it on the clipboard.
class ShareTaskDialog : public QDialog {
    Q_OBJECT

public:
    ShareTaskDialog(QWidget* owner, const QString& code, Language language);
};

// Open task code...: a line for a code or a link pasted in; Open accepts it.
class OpenTaskCodeDialog : public QDialog {
    Q_OBJECT

public:
    OpenTaskCodeDialog(QWidget* owner, Language language);

    QString text() const;

private:
    QLineEdit* line_;
};

}  // namespace vokta
