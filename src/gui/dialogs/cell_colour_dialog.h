#pragma once

#include "core/store/table_definition.h"
#include "gui/dialogs/definition_host.h"

#include <QColor>
#include <QWidget>

class QCheckBox;
class QGroupBox;
class QPainter;
class QPushButton;
class QScrollBar;

namespace kelvano {

class ClampingSpinBox;
class StripImage;
class ZelStringEX;

/// The cell colour settings dialog: per column the background and text colour, alignment and relative
/// font size, per row colour the background and text colour, and whether cells take their colours
/// from their column or their row. Two drawn strips show one slot per column and per row colour; the
/// left and right buttons do opposite things on them.
class TForm4 : public QWidget, public DefinitionPage {
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);

    /// The window whose definition the dialog edits; none (the close button then only hides).
    void setDefinitionHost(DefinitionHost* host) { m_host = host; }

    /// Shows a stored definition's counts, modes and per-index values.
    void loadDefinition(const TableDefinition& definition) override;
    /// The values of a new definition, with both mode boxes clear.
    void resetControls() override;
    /// Copies the counts and the per-index values into the definition (not the modes: the mode boxes
    /// write those at once).
    void gatherInto(TableDefinition& definition) const override;
    /// Shows the dialog with both strips scrolled back to the first column and row colour.
    void showFromStart();

    void DrawColumnStrip();
    void DrawRowStrip();

private:
    QGroupBox* GroupBox1;
    StripImage* Image1;
    QScrollBar* ScrollBar1;
    ClampingSpinBox* SpinEdit1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QGroupBox* GroupBox2;
    StripImage* Image2;
    QScrollBar* ScrollBar2;
    ClampingSpinBox* SpinEdit2;
    QCheckBox* CheckBox3;
    /// "先頭行を見出しにする" and "スマートフォンでは横にスクロール", beside "左端は区分に使用する".
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    /// "見出しで並べ替え", "絞り込み欄を付ける", "見出しを固定する" (enabled while the first row holds
    /// headings) and "CSVも出力する": the page options.
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox7;
    QCheckBox* CheckBox8;
    QCheckBox* CheckBox9;
    QPushButton* Button2;
    ZelStringEX* ZelStringEX1;

    void scrollOverCounts();
    void Image1MouseMove(QPoint position);
    void Image1MouseDown(QPoint position, Qt::MouseButton button);
    void Image2MouseMove(QPoint position);
    void Image2MouseDown(QPoint position, Qt::MouseButton button);
    void SpinEdit1Change(int count);
    void SpinEdit2Change(int count);
    void CheckBox1Click(bool ticked);
    void CheckBox3Click(bool ticked);
    void setColourModes(bool columnMode);
    void enableHeadingOptions(bool headingRow);
    std::optional<QColor> chooseColour();
    int columnCount() const;
    int rowColourCount() const;
    void drawColourSlot(QPainter& painter, int x0, int y0, int index, quint32 back, quint32 text) const;

    TableDefinition::Colours m_columnBackColours;
    TableDefinition::Colours m_rowBackColours;
    TableDefinition::Colours m_columnTextColours;
    TableDefinition::Colours m_rowTextColours;
    std::array<qint32, TableDefinition::ArrayLength> m_columnFontSizes{};
    std::array<quint8, TableDefinition::ArrayLength> m_columnAlignments{};
    int m_columnOffset = 0;
    int m_rowOffset = 0;
    int m_columnSlot = 0;
    int m_columnBand = 0;
    int m_rowSlot = 0;
    bool m_resetting = false;
    QColor m_lastColour = Qt::black;
    DefinitionHost* m_host = nullptr;
};

} // namespace kelvano
