#include "gui/dialogs/cell_colour_dialog.h"

#include "gui/base/form_layout.h"
#include "gui/base/keyboard.h"
#include "gui/base/user_dialogs.h"
#include "gui/components/zel_string_ex.h"
#include "gui/dialogs/clamping_spin_box.h"
#include "gui/dialogs/colour_values.h"
#include "gui/dialogs/definition_saving.h"
#include "gui/dialogs/strip_image.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

namespace kelvano {

using namespace FormLayout;

namespace {

constexpr int SlotCount = 8;
// The column strip stands below the group's title as the installed font draws it (its line is taller
// than the 14 pixels the strip's place leaves), with the scroll bar right under it.
constexpr int StripTop = 18;
constexpr int MaxAlignment = 8;
constexpr int MinFontSize = -14;
constexpr int MaxFontSize = 14;

/// An outlined rectangle from (x1, y1) to (x2, y2), the right and bottom edges excluded.
void drawFrame(QPainter& painter, int x1, int y1, int x2, int y2) {
    painter.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

void drawLetterT(QPainter& painter, int x0, int y0, quint32 colour) {
    painter.setPen(QPen(ColourValues::toColour(colour), 2));
    painter.drawLine(x0 + 30, y0 + 5, x0 + 38, y0 + 5);
    painter.drawLine(x0 + 34, y0 + 6, x0 + 34, y0 + 15);
}

/// The alignment circle's bounding box for a code 0..8 (row-major: vertical position, then horizontal).
QRect alignmentCircle(int x0, int code) {
    static constexpr int Left[] = {4, 18, 33};
    static constexpr int Right[] = {17, 33, 48};
    static constexpr int Top[] = {24, 34, 44};
    static constexpr int Bottom[] = {37, 47, 57};
    const int horizontal = code % 3;
    const int vertical = code / 3;
    return QRect(QPoint(x0 + Left[horizontal], Top[vertical]),
                 QPoint(x0 + Right[horizontal] - 1, Bottom[vertical] - 1));
}

} // namespace

TForm4::TForm4(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("セル詳細カラー設定"));
    setFormFont(this);
    setFixedSize(409, 354);
    ZelStringEX1 = new ZelStringEX(this);
    ZelStringEX1->setObjectName(QStringLiteral("ZelStringEX1"));
    m_columnBackColours.fill(TableDefinition::White);
    m_rowBackColours.fill(TableDefinition::White);
    m_columnTextColours.fill(0);
    m_rowTextColours.fill(0);

    GroupBox1 = group(this, QStringLiteral("GroupBox1"), QStringLiteral("列の項目"), {0, 0, 409, 153});
    Image1 = new StripImage(QStringLiteral("Image1"), {2, StripTop, 400, 80}, GroupBox1);
    ScrollBar1 = new QScrollBar(Qt::Horizontal, GroupBox1);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setGeometry(2, StripTop + 80, 400, 16);
    ScrollBar1->setRange(0, 0);
    label(GroupBox1, QStringLiteral("列の数"), {8, 124});
    SpinEdit1 = new ClampingSpinBox(1, TableDefinition::MaxColumns, 1, GroupBox1);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setGeometry(48, 120, 56, 22);
    CheckBox1 =
        tickBox(GroupBox1, QStringLiteral("CheckBox1"), QStringLiteral("各列で同じ色を使用する"), {106, 122});
    CheckBox2 =
        tickBox(GroupBox1, QStringLiteral("CheckBox2"), QStringLiteral("左端は区分に使用する"), {264, 122});

    GroupBox2 = group(this, QStringLiteral("GroupBox2"), QStringLiteral("行の項目"), {0, 160, 241, 193});
    Image2 = new StripImage(QStringLiteral("Image2"), {9, 20, 50, 160}, GroupBox2);
    ScrollBar2 = new QScrollBar(Qt::Vertical, GroupBox2);
    ScrollBar2->setObjectName(QStringLiteral("ScrollBar2"));
    ScrollBar2->setGeometry(59, 20, 16, 160);
    ScrollBar2->setRange(0, 0);
    label(GroupBox2, QStringLiteral("行の数"), {84, 24});
    SpinEdit2 = new ClampingSpinBox(1, 10, 1, GroupBox2);
    SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
    SpinEdit2->setGeometry(124, 20, 56, 22);
    CheckBox3 =
        tickBox(GroupBox2, QStringLiteral("CheckBox3"), QStringLiteral("各行で同じ色を使用する"), {84, 54});

    // The page's headings, what the page does with them (set in under them: they need the heading
    // row), its scrolling and its CSV file, below the column settings beside the row settings; the
    // longer caption takes two lines to fit the window's width.
    CheckBox4 =
        tickBox(this, QStringLiteral("CheckBox4"), QStringLiteral("先頭行を見出しにする"), {250, 162});
    CheckBox6 = tickBox(this, QStringLiteral("CheckBox6"), QStringLiteral("見出しで並べ替え"), {264, 182});
    CheckBox7 = tickBox(this, QStringLiteral("CheckBox7"), QStringLiteral("絞り込み欄を付ける"), {264, 202});
    CheckBox8 = tickBox(this, QStringLiteral("CheckBox8"), QStringLiteral("見出しを固定する"), {264, 222});
    CheckBox5 = tickBox(this, QStringLiteral("CheckBox5"),
                        QStringLiteral("スマートフォンでは\n横にスクロール"), {250, 244});
    CheckBox9 = tickBox(this, QStringLiteral("CheckBox9"), QStringLiteral("CSVも出力する"), {250, 284});
    enableHeadingOptions(false);

    Button2 = button(this, QStringLiteral("Button2"), QStringLiteral("閉じる(&C)"), {318, 322, 84, 28});

    connect(Image1, &StripImage::pointerMoved, this, &TForm4::Image1MouseMove);
    connect(Image1, &StripImage::pressed, this, &TForm4::Image1MouseDown);
    connect(Image2, &StripImage::pointerMoved, this, &TForm4::Image2MouseMove);
    connect(Image2, &StripImage::pressed, this, &TForm4::Image2MouseDown);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &TForm4::SpinEdit1Change);
    connect(SpinEdit2, &QSpinBox::valueChanged, this, &TForm4::SpinEdit2Change);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, [this](int position) {
        m_columnOffset = position;
        DrawColumnStrip();
    });
    connect(ScrollBar2, &QScrollBar::valueChanged, this, [this](int position) {
        m_rowOffset = position;
        DrawRowStrip();
    });
    connect(CheckBox1, &QCheckBox::toggled, this, &TForm4::CheckBox1Click);
    connect(CheckBox3, &QCheckBox::toggled, this, &TForm4::CheckBox3Click);
    connect(CheckBox4, &QCheckBox::toggled, this, &TForm4::enableHeadingOptions);
    connect(Button2, &QPushButton::clicked, this, [this] { closeAndOfferToSave(this, m_host); });
    // Escape closes the dialog as "閉じる" does.
    Keyboard::giveDialogKeys(this, Button2, [this] { Button2->click(); });

    DrawColumnStrip();
    DrawRowStrip();
}

int TForm4::columnCount() const {
    return SpinEdit1->value();
}

int TForm4::rowColourCount() const {
    return SpinEdit2->value();
}

void TForm4::drawColourSlot(QPainter& painter, int x0, int y0, int index, quint32 back, quint32 text) const {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    drawFrame(painter, x0, y0, x0 + 50, y0 + 20);
    painter.drawText(QRect(x0 + 4, y0 + 4, 16, 14), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     QString::number(index));
    painter.setBrush(ColourValues::toColour(back));
    drawFrame(painter, x0 + 20, y0 + 2, x0 + 48, y0 + 18);
    drawLetterT(painter, x0, y0, text);
}

void TForm4::DrawColumnStrip() {
    QImage& canvas = Image1->canvas();
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setFont(font());
    const int count = std::min(columnCount(), TableDefinition::ArrayLength);
    for (int slot = 0; slot < SlotCount; ++slot) {
        const int index = m_columnOffset + slot;
        if (index >= count) {
            break;
        }
        const int x0 = 50 * slot;
        drawColourSlot(painter, x0, 0, index, m_columnBackColours[index], m_columnTextColours[index]);

        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        drawFrame(painter, x0, 21, x0 + 50, 60);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawEllipse(alignmentCircle(x0, std::min<int>(m_columnAlignments[index], MaxAlignment)));

        painter.setPen(QPen(Qt::black, 1));
        drawFrame(painter, x0, 61, x0 + 50, 80);
        painter.drawText(QRect(x0 + 20, 64, 28, 14), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         QString::number(m_columnFontSizes[index]));
    }
    painter.end();
    Image1->update();
}

void TForm4::DrawRowStrip() {
    QImage& canvas = Image2->canvas();
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setFont(font());
    const int count = std::min(rowColourCount(), TableDefinition::ArrayLength);
    for (int slot = 0; slot < SlotCount; ++slot) {
        const int index = m_rowOffset + slot;
        if (index >= count) {
            break;
        }
        drawColourSlot(painter, 0, 20 * slot, index, m_rowBackColours[index], m_rowTextColours[index]);
    }
    painter.end();
    Image2->update();
}

void TForm4::Image1MouseMove(QPoint position) {
    DrawColumnStrip();
    m_columnSlot = std::clamp(position.x() / 50, 0, SlotCount - 1);
    m_columnBand = std::clamp(position.y() / 20, 0, 3);
    if (m_columnSlot < columnCount() - m_columnOffset) {
        QPainter painter(&Image1->canvas());
        painter.setPen(QPen(Qt::blue, 1));
        const int x0 = 50 * m_columnSlot;
        drawFrame(painter, x0 + 1, 1, x0 + 49, 79);
        painter.end();
        Image1->update();
    }
}

void TForm4::Image1MouseDown(QPoint position, Qt::MouseButton button) {
    // The pointer always reaches a slot before it presses there; taking the position again keeps a
    // press without a movement before it on the slot under the pointer.
    m_columnSlot = std::clamp(position.x() / 50, 0, SlotCount - 1);
    m_columnBand = std::clamp(position.y() / 20, 0, 3);
    if (m_columnSlot >= columnCount() - m_columnOffset) {
        return;
    }
    const int index = m_columnOffset + m_columnSlot;
    if (index >= TableDefinition::ArrayLength) {
        return;
    }
    const bool left = button == Qt::LeftButton;
    switch (m_columnBand) {
    case 0:
        if (const std::optional<QColor> chosen = chooseColour()) {
            (left ? m_columnBackColours : m_columnTextColours)[index] = ColourValues::fromColour(*chosen);
        }
        break;
    case 1:
    case 2: {
        quint8& alignment = m_columnAlignments[index];
        if (left) {
            alignment = alignment == 0 || alignment > MaxAlignment ? MaxAlignment : alignment - 1;
        } else {
            alignment = alignment >= MaxAlignment ? 0 : alignment + 1;
        }
        break;
    }
    default: {
        qint32& size = m_columnFontSizes[index];
        size = left ? std::clamp(size - 1, MinFontSize, MaxFontSize)
                    : std::clamp(size + 1, MinFontSize, MaxFontSize);
        break;
    }
    }
    DrawColumnStrip();
}

void TForm4::Image2MouseMove(QPoint position) {
    DrawRowStrip();
    m_rowSlot = std::clamp(position.y() / 20, 0, SlotCount - 1);
    if (m_rowSlot < rowColourCount() - m_rowOffset) {
        QPainter painter(&Image2->canvas());
        painter.setPen(QPen(Qt::blue, 1));
        const int y0 = 20 * m_rowSlot;
        drawFrame(painter, 1, y0 + 1, 49, y0 + 19);
        painter.end();
        Image2->update();
    }
}

void TForm4::Image2MouseDown(QPoint position, Qt::MouseButton button) {
    m_rowSlot = std::clamp(position.y() / 20, 0, SlotCount - 1);
    if (m_rowSlot >= rowColourCount() - m_rowOffset) {
        return;
    }
    const int index = m_rowOffset + m_rowSlot;
    if (index >= TableDefinition::ArrayLength) {
        return;
    }
    if (const std::optional<QColor> chosen = chooseColour()) {
        (button == Qt::LeftButton ? m_rowBackColours : m_rowTextColours)[index] =
            ColourValues::fromColour(*chosen);
        DrawRowStrip();
    }
}

std::optional<QColor> TForm4::chooseColour() {
    const std::optional<QColor> chosen = UserDialogs::chooseColour(this, m_lastColour);
    if (chosen) {
        m_lastColour = *chosen;
    }
    return chosen;
}

void TForm4::scrollOverCounts() {
    // A count that stays the same sends no change, so the scroll bars are set from the counts here: a
    // bar reaching past the last column or row colour would scroll the strip to an empty view.
    ScrollBar1->setMaximum(SpinEdit1->value() - 1);
    ScrollBar2->setMaximum(SpinEdit2->value() - 1);
}

void TForm4::SpinEdit1Change(int count) {
    ScrollBar1->setMaximum(count - 1);
    m_columnBackColours[count - 1] = TableDefinition::White;
    m_columnTextColours[count - 1] = 0;
    DrawColumnStrip();
}

void TForm4::SpinEdit2Change(int count) {
    m_rowBackColours[count - 1] = TableDefinition::White;
    m_rowTextColours[count - 1] = 0;
    ScrollBar2->setMaximum(count - 1);
    DrawRowStrip();
}

void TForm4::setColourModes(bool columnMode) {
    if (m_resetting || m_host == nullptr) {
        return;
    }
    TableDefinition& definition = m_host->currentDefinition();
    definition.ColumnColourMode = columnMode;
    definition.RowColourMode = !columnMode;
}

void TForm4::CheckBox1Click(bool ticked) {
    setColourModes(ticked);
    if (ticked) {
        CheckBox3->setChecked(false);
    }
}

void TForm4::CheckBox3Click(bool ticked) {
    setColourModes(!ticked);
    if (ticked) {
        CheckBox1->setChecked(false);
    }
}

void TForm4::loadDefinition(const TableDefinition& definition) {
    // A box that is ticked already gives no change, so its mode is written here as a tick would.
    if (definition.ColumnColourMode) {
        if (CheckBox1->isChecked()) {
            CheckBox1Click(true);
        }
        CheckBox1->setChecked(true);
    }
    if (definition.RowColourMode) {
        if (CheckBox3->isChecked()) {
            CheckBox3Click(true);
        }
        CheckBox3->setChecked(true);
    }
    CheckBox2->setChecked(definition.FirstColumnHeadings);
    CheckBox4->setChecked(definition.FirstRowHeadings);
    CheckBox5->setChecked(definition.ScrollOnSmallScreens);
    CheckBox6->setChecked(definition.SortByHeading);
    CheckBox7->setChecked(definition.FilterBox);
    CheckBox8->setChecked(definition.StickyHeading);
    CheckBox9->setChecked(definition.CsvBeside);
    SpinEdit1->setValue(definition.ColumnCount);
    SpinEdit2->setValue(definition.RowColourCount);
    scrollOverCounts();
    m_columnBackColours = definition.ColumnBackColours;
    m_rowBackColours = definition.RowBackColours;
    m_columnTextColours = definition.ColumnTextColours;
    m_rowTextColours = definition.RowTextColours;
    m_columnFontSizes = definition.ColumnFontSizes;
    m_columnAlignments = definition.ColumnAlignments;
    DrawColumnStrip();
    DrawRowStrip();
}

void TForm4::resetControls() {
    // Clearing the mode boxes for a new definition leaves the modes as the reset put them.
    m_resetting = true;
    CheckBox1->setChecked(false);
    CheckBox2->setChecked(false);
    CheckBox3->setChecked(false);
    CheckBox4->setChecked(false);
    CheckBox5->setChecked(false);
    for (QCheckBox* option : {CheckBox6, CheckBox7, CheckBox8, CheckBox9}) {
        option->setChecked(false);
    }
    m_resetting = false;
    SpinEdit1->setValue(1);
    SpinEdit2->setValue(1);
    scrollOverCounts();
    m_columnBackColours.fill(TableDefinition::White);
    m_rowBackColours.fill(TableDefinition::White);
    m_columnTextColours.fill(0);
    m_rowTextColours.fill(0);
    m_columnFontSizes.fill(0);
    m_columnAlignments.fill(0);
    DrawColumnStrip();
    DrawRowStrip();
}

void TForm4::gatherInto(TableDefinition& definition) const {
    definition.ColumnBackColours = m_columnBackColours;
    definition.RowBackColours = m_rowBackColours;
    definition.ColumnTextColours = m_columnTextColours;
    definition.RowTextColours = m_rowTextColours;
    definition.ColumnFontSizes = m_columnFontSizes;
    definition.ColumnAlignments = m_columnAlignments;
    definition.ColumnCount = quint16(SpinEdit1->value());
    definition.RowColourCount = quint16(SpinEdit2->value());
    definition.FirstColumnHeadings = CheckBox2->isChecked();
    definition.FirstRowHeadings = CheckBox4->isChecked();
    definition.ScrollOnSmallScreens = CheckBox5->isChecked();
    definition.SortByHeading = CheckBox6->isChecked();
    definition.FilterBox = CheckBox7->isChecked();
    definition.StickyHeading = CheckBox8->isChecked();
    definition.CsvBeside = CheckBox9->isChecked();
}

void TForm4::enableHeadingOptions(bool headingRow) {
    // Kept ticked while disabled: the page ignores them without a heading row, and ticking the heading
    // row again brings them back as they were.
    for (QCheckBox* option : {CheckBox6, CheckBox7, CheckBox8}) {
        option->setEnabled(headingRow);
    }
}

void TForm4::showFromStart() {
    ScrollBar1->setValue(0);
    ScrollBar2->setValue(0);
    m_columnOffset = 0;
    m_rowOffset = 0;
    DrawColumnStrip();
    DrawRowStrip();
    show();
    raise();
    activateWindow();
}

} // namespace kelvano
