#include "gui/dialogs/table_settings_dialog.h"

#include "gui/base/form_layout.h"
#include "gui/base/keyboard.h"
#include "gui/base/shift_jis_field.h"
#include "gui/base/user_dialogs.h"
#include "gui/components/zel_string_ex.h"
#include "gui/dialogs/clamping_spin_box.h"
#include "gui/dialogs/colour_field.h"
#include "gui/dialogs/colour_values.h"
#include "gui/dialogs/definition_saving.h"
#include "gui/dialogs/table_width.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kelvano {

using namespace FormLayout;

namespace {

ClampingSpinBox* spin(QWidget* parent, const QString& name, int minimum, int maximum, int initial,
                      const QRect& geometry) {
    auto* result = new ClampingSpinBox(minimum, maximum, initial, parent);
    result->setObjectName(name);
    result->setGeometry(geometry);
    return result;
}

} // namespace

TForm3::TForm3(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("テーブル詳細設定"));
    setFormFont(this);
    setFixedSize(569, 242);
    ZelStringEX1 = new ZelStringEX(this);
    ZelStringEX1->setObjectName(QStringLiteral("ZelStringEX1"));

    GroupBox1 = group(this, QStringLiteral("GroupBox1"), QStringLiteral("テーブル全体"), {4, 2, 561, 200});
    label(GroupBox1, QStringLiteral("枠の幅"), {12, 26});
    SpinEdit1 = spin(GroupBox1, QStringLiteral("SpinEdit1"), 0, 50, 1, {56, 22, 60, 22});
    CheckBox1 = tickBox(GroupBox1, QStringLiteral("CheckBox1"), QStringLiteral("空欄の行を表示"), {136, 24});
    CheckBox1->setChecked(true);

    GroupBox2 = group(GroupBox1, QStringLiteral("GroupBox2"), QStringLiteral("表題"), {8, 52, 262, 74});
    label(GroupBox2, QStringLiteral("名前"), {10, 26});
    Edit2 = edit(GroupBox2, QStringLiteral("Edit2"), {44, 22, 208, 22});
    RadioButton1 = radio(GroupBox2, QStringLiteral("RadioButton1"), QStringLiteral("上につける"), {44, 50});
    RadioButton2 = radio(GroupBox2, QStringLiteral("RadioButton2"), QStringLiteral("下につける"), {150, 50});
    RadioButton1->setChecked(true);

    GroupBox5 = group(GroupBox1, QStringLiteral("GroupBox5"), QStringLiteral("データセルのサイズ"),
                      {8, 132, 262, 60});
    label(GroupBox5, QStringLiteral("罫線の幅"), {10, 28});
    SpinEdit5 = spin(GroupBox5, QStringLiteral("SpinEdit5"), 0, 100, 2, {64, 24, 56, 22});
    label(GroupBox5, QStringLiteral("セル間の幅"), {132, 28});
    SpinEdit6 = spin(GroupBox5, QStringLiteral("SpinEdit6"), 0, 100, 1, {196, 24, 56, 22});

    GroupBox3 = group(GroupBox1, QStringLiteral("GroupBox3"), QStringLiteral("枠の色"), {278, 14, 275, 96});
    CheckBox2 = tickBox(GroupBox3, QStringLiteral("CheckBox2"), QStringLiteral("立体色を使用する"), {10, 20});
    label(GroupBox3, QStringLiteral("枠の色"), {10, 46});
    Edit1 = edit(GroupBox3, QStringLiteral("Edit1"), {50, 42, 56, 22});
    Button1 = button(GroupBox3, QStringLiteral("Button1"), QStringLiteral("参照"), {108, 41, 42, 24});
    label(GroupBox3, QStringLiteral("左上"), {10, 72});
    Edit3 = edit(GroupBox3, QStringLiteral("Edit3"), {36, 68, 56, 22});
    Button2 = button(GroupBox3, QStringLiteral("Button2"), QStringLiteral("参照"), {94, 67, 42, 24});
    label(GroupBox3, QStringLiteral("右下"), {144, 72});
    Edit4 = edit(GroupBox3, QStringLiteral("Edit4"), {170, 68, 56, 22});
    Button3 = button(GroupBox3, QStringLiteral("Button3"), QStringLiteral("参照"), {228, 67, 42, 24});
    for (QLineEdit* colour : {Edit1, Edit3, Edit4}) {
        ColourField::attach(colour);
    }

    GroupBox4 =
        group(GroupBox1, QStringLiteral("GroupBox4"), QStringLiteral("テーブルの横幅"), {278, 114, 275, 78});
    RadioButton5 =
        radio(GroupBox4, QStringLiteral("RadioButton5"), QStringLiteral("ブラウザに任せる"), {10, 18});
    RadioButton3 =
        radio(GroupBox4, QStringLiteral("RadioButton3"), QStringLiteral("パーセントで指定"), {10, 38});
    SpinEdit3 = spin(GroupBox4, QStringLiteral("SpinEdit3"), 30, 100, 100, {140, 38, 64, 20});
    RadioButton4 = radio(GroupBox4, QStringLiteral("RadioButton4"), QStringLiteral("サイズで指定"), {10, 57});
    SpinEdit4 = spin(GroupBox4, QStringLiteral("SpinEdit4"), 50, 1000, 400, {140, 57, 64, 20});
    // Three rows under the title in the group's 78 pixels.
    for (QRadioButton* option : {RadioButton5, RadioButton3, RadioButton4}) {
        option->resize(option->width(), 20);
    }
    RadioButton5->setChecked(true);
    SpinEdit4->setEnabled(false);

    Button4 = button(this, QStringLiteral("Button4"), QStringLiteral("閉じる(&C)"), {480, 208, 82, 28});

    m_captionField = ShiftJisField::attach(Edit2, TableDefinition::NameCapacity);
    m_borderColourField = ShiftJisField::attach(Edit1, TableDefinition::ColourTextCapacity);
    m_lightColourField = ShiftJisField::attach(Edit3, TableDefinition::ColourTextCapacity);
    m_darkColourField = ShiftJisField::attach(Edit4, TableDefinition::ColourTextCapacity);
    CheckBox2Click();

    connect(CheckBox2, &QCheckBox::toggled, this, &TForm3::CheckBox2Click);
    for (QRadioButton* option : {RadioButton3, RadioButton4, RadioButton5}) {
        connect(option, &QRadioButton::toggled, this, &TForm3::widthOptionChosen);
    }
    connect(Button1, &QPushButton::clicked, this, [this] { colourButtonClick(m_borderColourField); });
    connect(Button2, &QPushButton::clicked, this, [this] { colourButtonClick(m_lightColourField); });
    connect(Button3, &QPushButton::clicked, this, [this] { colourButtonClick(m_darkColourField); });
    connect(Button4, &QPushButton::clicked, this, [this] { closeAndOfferToSave(this, m_host); });
    // Escape closes the dialog as "閉じる" does.
    Keyboard::giveDialogKeys(this, Button4, [this] { Button4->click(); });
}

void TForm3::CheckBox2Click() {
    const bool threeD = CheckBox2->isChecked();
    Edit1->setEnabled(!threeD);
    Button1->setEnabled(!threeD);
    Edit3->setEnabled(threeD);
    Edit4->setEnabled(threeD);
    Button2->setEnabled(threeD);
    Button3->setEnabled(threeD);
}

void TForm3::widthOptionChosen() {
    if (RadioButton3->isChecked()) {
        SpinEdit3->setEnabled(true);
        SpinEdit4->setEnabled(false);
    } else if (RadioButton4->isChecked()) {
        SpinEdit3->setEnabled(false);
        SpinEdit4->setEnabled(true);
    } else if (RadioButton5->isChecked()) {
        SpinEdit3->setEnabled(false);
        SpinEdit4->setEnabled(false);
    }
}

void TForm3::colourButtonClick(ShiftJisField* field) {
    const std::optional<QColor> chosen = UserDialogs::chooseColour(this, m_lastColour);
    if (!chosen) {
        return;
    }
    m_lastColour = *chosen;
    field->setBytes(colourText(*chosen).toLatin1());
}

QString TForm3::colourText(const QColor& colour) const {
    return ColourValues::colourTextFromHex3(
        QString::fromLatin1(ZelStringEX1->hex3(qint32(ColourValues::fromColour(colour)))));
}

void TForm3::loadDefinition(const TableDefinition& definition) {
    SpinEdit1->setValue(definition.BorderWidth);
    m_captionField->setBytes(definition.CaptionText);
    (definition.CaptionOnTop ? RadioButton1 : RadioButton2)->setChecked(true);
    CheckBox1->setChecked(definition.ShowEmptyCells);
    CheckBox2->setChecked(definition.Use3DColours);
    m_borderColourField->setBytes(definition.BorderColour);
    m_lightColourField->setBytes(definition.LightColour);
    m_darkColourField->setBytes(definition.DarkColour);
    const TableWidth width = TableWidth::parse(definition.TableWidth);
    switch (width.kind) {
    case TableWidth::Browser:
        // Three rows under the title in the group's 78 pixels.
        for (QRadioButton* option : {RadioButton5, RadioButton3, RadioButton4}) {
            option->resize(option->width(), 20);
        }
        RadioButton5->setChecked(true);
        break;
    case TableWidth::Percent:
        RadioButton3->setChecked(true);
        SpinEdit3->setValue(width.value);
        break;
    case TableWidth::Pixels:
        RadioButton4->setChecked(true);
        SpinEdit4->setValue(width.value);
        break;
    }
    SpinEdit5->setValue(definition.CellSpacing);
    SpinEdit6->setValue(definition.CellPadding);
}

void TForm3::resetControls() {
    SpinEdit1->setValue(1);
    CheckBox1->setChecked(true);
    CheckBox2->setChecked(false);
    m_borderColourField->setBytes({});
    m_captionField->setBytes({});
    m_lightColourField->setBytes({});
    m_darkColourField->setBytes({});
    RadioButton1->setChecked(true);
    SpinEdit3->setValue(100);
    SpinEdit4->setValue(400);
    SpinEdit5->setValue(2);
    SpinEdit6->setValue(1);
}

void TForm3::gatherInto(TableDefinition& definition) const {
    definition.ShowEmptyCells = CheckBox1->isChecked();
    definition.BorderWidth = quint8(SpinEdit1->value());
    definition.CaptionText = m_captionField->bytes();
    if (RadioButton1->isChecked()) {
        definition.CaptionOnTop = true;
    } else if (RadioButton2->isChecked()) {
        definition.CaptionOnTop = false;
    }
    if (RadioButton3->isChecked()) {
        definition.TableWidth = TableWidth{TableWidth::Percent, SpinEdit3->value()}.text();
    } else if (RadioButton4->isChecked()) {
        definition.TableWidth = TableWidth{TableWidth::Pixels, SpinEdit4->value()}.text();
    } else if (RadioButton5->isChecked()) {
        definition.TableWidth.clear();
    }
    definition.Use3DColours = CheckBox2->isChecked();
    definition.BorderColour = m_borderColourField->bytes();
    definition.LightColour = m_lightColourField->bytes();
    definition.DarkColour = m_darkColourField->bytes();
    definition.CellSpacing = quint8(SpinEdit5->value());
    definition.CellPadding = quint8(SpinEdit6->value());
}

} // namespace kelvano
