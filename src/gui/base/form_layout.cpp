#include "gui/base/form_layout.h"

#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>

namespace kelvano::FormLayout {

void setFormFont(QWidget* window) {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    window->setFont(font);
}

void centreOnScreen(QWidget* window) {
    if (const QScreen* screen = window->screen()) {
        window->move(screen->availableGeometry().center() - window->rect().center());
    }
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry) {
    auto* result = new QPushButton(caption, parent);
    result->setObjectName(name);
    result->setGeometry(geometry);
    return result;
}

QLineEdit* edit(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* result = new QLineEdit(parent);
    result->setObjectName(name);
    result->setGeometry(geometry);
    return result;
}

QLabel* label(QWidget* parent, const QString& text, const QPoint& position) {
    auto* result = new QLabel(text, parent);
    result->move(position);
    result->adjustSize();
    return result;
}

QCheckBox* tickBox(QWidget* parent, const QString& name, const QString& caption, const QPoint& position) {
    auto* result = new QCheckBox(caption, parent);
    result->setObjectName(name);
    result->move(position);
    result->adjustSize();
    return result;
}

QRadioButton* radio(QWidget* parent, const QString& name, const QString& caption, const QPoint& position) {
    auto* result = new QRadioButton(caption, parent);
    result->setObjectName(name);
    result->move(position);
    result->adjustSize();
    return result;
}

QGroupBox* group(QWidget* parent, const QString& name, const QString& title, const QRect& geometry) {
    auto* result = new QGroupBox(title, parent);
    result->setObjectName(name);
    result->setGeometry(geometry);
    return result;
}

ReportList* reportList(QWidget* parent, const QString& name, const QStringList& columns,
                       const QRect& geometry) {
    auto* list = new ReportList(int(columns.size()), parent);
    list->setObjectName(name);
    list->setGeometry(geometry);
    list->setHorizontalHeaderLabels(columns);
    list->verticalHeader()->setVisible(false);
    list->verticalHeader()->setDefaultSectionSize(18);
    list->horizontalHeader()->setStretchLastSection(true);
    list->horizontalHeader()->setHighlightSections(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(true);
    list->setWordWrap(false);
    return list;
}

void appendRow(QTableWidget* list, const QStringList& cells, bool tickBox) {
    const int row = list->rowCount();
    list->insertRow(row);
    for (int column = 0; column < cells.size() && column < list->columnCount(); ++column) {
        auto* item = new QTableWidgetItem(cells.at(column));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        if (column == 0 && tickBox) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
        list->setItem(row, column, item);
    }
}

int selectedRow(const QTableWidget* list) {
    const QList<QTableWidgetSelectionRange> ranges = list->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

} // namespace kelvano::FormLayout
