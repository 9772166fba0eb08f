#pragma once

#include <QObject>
#include <QStringList>

class QWidget;

namespace kelvano {

/// Reports by signals what a widget's own signals do not tell: its focus leaving (with the reason), keys
/// it refuses, and double clicks anywhere on it (a list's own signal tells only those on an item). Each
/// widget has at most one, a child of the widget that watches only it.
class WidgetEvents : public QObject {
    Q_OBJECT

public:
    /// The watcher of `widget`, made on first use.
    static WidgetEvents* of(QWidget* widget);

    /// Keys that type `typed` are kept out of the widget and reported by `refused`.
    void refuse(const QString& typed);

signals:
    void focusLeft(Qt::FocusReason reason);
    void refused(const QString& typed);
    void doubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit WidgetEvents(QWidget* widget);

    QStringList m_refused;
};

/// Whether focus leaving for `reason` moved elsewhere in the program: switching to another program,
/// or a message box about the field's own text, leaves the user still typing in it.
bool focusMovedWithinProgram(Qt::FocusReason reason);

} // namespace kelvano
