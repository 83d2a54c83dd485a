#include "app/spoken_view.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace vokta {

namespace {

// The widget's properties the accessible object reads: Qt builds it anew
// whenever it likes, so the words live on the widget.
constexpr char kSpokenProperty[] = "voktaSpoken";
constexpr char kNameProperty[] = "voktaSpokenName";

class SpokenAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit SpokenAccessible(QWidget* view) : QAccessibleWidget(view, QAccessible::Canvas) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return widget()->property(kNameProperty).toString();
        return QAccessibleWidget::text(kind);
    }

    // The words, read as plain text without a cursor or a selection.
    QString text(int startOffset, int endOffset) const override
    {
        return said().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(said().size()); }
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    QString said() const { return widget()->property(kSpokenProperty).toString(); }
};

QAccessibleInterface* spokenAccessible(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->property(kNameProperty).isValid())
        return nullptr;
    return new SpokenAccessible(widget);
}

}  // namespace

SpokenView::SpokenView(QWidget& view) : view_(view)
{
    view_.setProperty(kNameProperty, QString());
    view_.setProperty(kSpokenProperty, QString());
    static const bool installed = (QAccessible::installFactory(spokenAccessible), true);
    static_cast<void>(installed);
}

void SpokenView::setName(const QString& name)
{
    view_.setProperty(kNameProperty, name);
    if (QAccessible::isActive()) {
        QAccessibleEvent event(&view_, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void SpokenView::say(const QString& words)
{
    const QString before = view_.property(kSpokenProperty).toString();
    view_.setProperty(kSpokenProperty, words);
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(&view_, 0, before, words);
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace vokta
