#pragma once

#include "gui/base/keyboard.h"

#include <QRect>
#include <QString>
#include <QStringList>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QWidget;

// Helpers that place the controls of the program's fixed-size windows at their positions.

namespace kelvano::FormLayout {

/// The windows' font: asked for by name at 12 pixels (fontconfig substitutes a Japanese font).
void setFormFont(QWidget* window);
/// Moves a window to the centre of its screen.
void centreOnScreen(QWidget* window);

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry);
QLineEdit* edit(QWidget* parent, const QString& name, const QRect& geometry);
QLabel* label(QWidget* parent, const QString& text, const QPoint& position);
QCheckBox* tickBox(QWidget* parent, const QString& name, const QString& caption, const QPoint& position);
QRadioButton* radio(QWidget* parent, const QString& name, const QString& caption, const QPoint& position);
QGroupBox* group(QWidget* parent, const QString& name, const QString& title, const QRect& geometry);
/// A read-only report list with whole-row selection and grid lines; Tab leaves it.
ReportList* reportList(QWidget* parent, const QString& name, const QStringList& columns,
                       const QRect& geometry);
/// Appends a row of texts; with `tickBox` the first cell carries a tick box, not ticked.
void appendRow(QTableWidget* list, const QStringList& cells, bool tickBox = false);
/// The row selected in the list, or -1.
int selectedRow(const QTableWidget* list);

} // namespace kelvano::FormLayout
