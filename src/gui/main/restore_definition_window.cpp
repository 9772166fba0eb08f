#include "gui/main/restore_definition_window.h"

#include "core/store/shift_jis.h"
#include "gui/base/form_layout.h"
#include "gui/base/keyboard.h"
#include "gui/base/user_dialogs.h"

#include <QPushButton>
#include <QTableWidget>

namespace kelvano {

using namespace FormLayout;

RestoreDefinitionWindow::RestoreDefinitionWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("RestoreDefinitionWindow"));
    setWindowTitle(QStringLiteral("削除復活"));
    setFormFont(this);
    setFixedSize(360, 240);
    ListView5 = reportList(this, QStringLiteral("ListView5"),
                           {QStringLiteral("番号"), QStringLiteral("項目名"), QStringLiteral("ファイル名")},
                           {6, 6, 348, 190});
    ListView5->setColumnWidth(0, 40);
    ListView5->setColumnWidth(1, 170);
    RestoreButton = button(this, QStringLiteral("RestoreButton"), QStringLiteral("復活"), {186, 204, 80, 28});
    CancelButton =
        button(this, QStringLiteral("CancelButton"), QStringLiteral("キャンセル"), {274, 204, 80, 28});
    connect(RestoreButton, &QPushButton::clicked, this, &RestoreDefinitionWindow::restoreSelected);
    connect(ListView5, &QTableWidget::cellDoubleClicked, this, &RestoreDefinitionWindow::restoreSelected);
    connect(CancelButton, &QPushButton::clicked, this, &QWidget::hide);
    Keyboard::giveDialogKeys(this, RestoreButton, [this] { CancelButton->click(); });
}

void RestoreDefinitionWindow::showDefinitions(const QList<NumberedDefinition>& deleted) {
    ListView5->setRowCount(0);
    for (const NumberedDefinition& entry : deleted) {
        appendRow(ListView5, {QString::number(entry.number), ShiftJis::decode(entry.definition.TableName),
                              ShiftJis::decode(entry.definition.FileName)});
    }
    ListView5->selectRow(0);
    show();
    raise();
    activateWindow();
}

void RestoreDefinitionWindow::restoreSelected() {
    const int row = selectedRow(ListView5);
    if (row < 0) {
        UserDialogs::show(this, MessageIcon::Error, Messages::SelectTable);
        return;
    }
    const int number = ListView5->item(row, 0)->text().toInt();
    hide();
    emit restoreChosen(number);
}

} // namespace kelvano
