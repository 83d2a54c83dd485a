#pragma once

#include <QString>

class QWidget;

namespace vokta {

// The game view as a screen reader finds it on the accessibility bus (AT-SPI
// on Linux): a canvas named for the game whose text is the last words the
// game said; each change is announced as the text replaced. Nothing is
// drawn for it, and with no screen reader listening nothing is sent.
class SpokenView {
public:
    // Speaks for view, which keeps the keyboard while the game runs.
    explicit SpokenView(QWidget& view);

    void setName(const QString& name);
    void say(const QString& words);

private:
    QWidget& view_;
};

}  // namespace vokta
