#pragma once

#include "core/store/table_definition.h"
#include "gui/dialogs/definition_host.h"

#include <QColor>
#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kelvano {

class ClampingSpinBox;
class ShiftJisField;
class ZelStringEX;

/// The table-wide settings dialog: border, caption, table width, cell spacing and padding, and whether
/// empty cells are drawn, for the definition being edited on the main window.
class TForm3 : public QWidget, public DefinitionPage {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);

    /// The window whose definition the dialog edits; none (the close button then only hides).
    void setDefinitionHost(DefinitionHost* host) { m_host = host; }

    /// Shows a stored definition's table-wide values.
    void loadDefinition(const TableDefinition& definition) override;
    /// The values of a new definition; the choice of the width option stays.
    void resetControls() override;
    /// Copies the controls' values into the definition's table-wide fields.
    void gatherInto(TableDefinition& definition) const override;

private:
    QGroupBox* GroupBox1;
    ClampingSpinBox* SpinEdit1;
    QCheckBox* CheckBox1;
    QGroupBox* GroupBox2;
    QLineEdit* Edit2;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QGroupBox* GroupBox3;
    QCheckBox* CheckBox2;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QLineEdit* Edit3;
    QPushButton* Button2;
    QLineEdit* Edit4;
    QPushButton* Button3;
    QGroupBox* GroupBox4;
    QRadioButton* RadioButton5;
    QRadioButton* RadioButton3;
    ClampingSpinBox* SpinEdit3;
    QRadioButton* RadioButton4;
    ClampingSpinBox* SpinEdit4;
    QGroupBox* GroupBox5;
    ClampingSpinBox* SpinEdit5;
    ClampingSpinBox* SpinEdit6;
    QPushButton* Button4;
    ZelStringEX* ZelStringEX1;

    void CheckBox2Click();
    void widthOptionChosen();
    void colourButtonClick(ShiftJisField* field);
    QString colourText(const QColor& colour) const;

    ShiftJisField* m_captionField;
    ShiftJisField* m_borderColourField;
    ShiftJisField* m_lightColourField;
    ShiftJisField* m_darkColourField;
    /// The colour last chosen in the colour dialog, where it opens next.
    QColor m_lastColour = Qt::black;
    DefinitionHost* m_host = nullptr;
};

} // namespace kelvano
