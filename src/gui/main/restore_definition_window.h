#pragma once

#include "core/store/table_definition_file.h"

#include <QWidget>

class QPushButton;
class QTableWidget;

namespace kelvano {

/// The small list that "削除復活" opens: the deleted definitions (number, title, file name), of which
/// the user restores one.
class RestoreDefinitionWindow : public QWidget {
    Q_OBJECT

public:
    explicit RestoreDefinitionWindow(QWidget* parent);

    /// Lists the definitions and shows the window.
    void showDefinitions(const QList<NumberedDefinition>& deleted);

signals:
    void restoreChosen(int number);

private:
    QTableWidget* ListView5;
    QPushButton* RestoreButton;
    QPushButton* CancelButton;

    void restoreSelected();
};

} // namespace kelvano
