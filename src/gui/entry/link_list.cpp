#include "gui/entry/link_list.h"
#include "gui/entry/stored_text_list.h"

#include "core/store/shift_jis.h"
#include "core/store/table_row_record.h"
#include "core/table/text_collation.h"
#include "gui/base/edited_table.h"
#include "gui/base/form_layout.h"
#include "gui/base/keyboard.h"
#include "gui/base/user_dialogs.h"
#include "gui/entry/three_column_list.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

namespace kelvano {

TForm8::TForm8(QWidget* parent) : QWidget(parent, Qt::Window), m_files(QString(), QString()) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Form8"));
    FormLayout::setFormFont(this);
    resize(380, 312);

    auto* top = new QWidget(this);
    top->setFixedHeight(27);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(4, 2, 4, 2);
    topLayout->addWidget(new QLabel(QStringLiteral("URL"), top));
    Edit1 = new QLineEdit(top);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(340);
    topLayout->addWidget(Edit1);
    topLayout->addStretch();

    ListBox1 = new ThreeColumnList(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(ListBox1, 1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("対象を削除"));
    N1->setObjectName(QStringLiteral("N1"));

    connect(Edit1, &QLineEdit::returnPressed, this,
            [this] { UserDialogs::guarded(this, [this] { Edit1KeyPress(); }); });
    connect(ListBox1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ListBox1Click(item); });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { ListBox1DblClick(item); });
    connect(ListBox1, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { PopupMenu1->popup(ListBox1->viewport()->mapToGlobal(at)); });
    connect(N1, &QAction::triggered, this, [this] { UserDialogs::guarded(this, [this] { N1Click(); }); });
    // Enter in the URL field confirms it (returnPressed); Escape puts the list away unchanged.
    Keyboard::giveDialogKeys(this, nullptr, [this] { hide(); });
}

void TForm8::Open(const TableDataFiles& files) {
    UserDialogs::guarded(this, [&] {
        if (!fillList(files.readLinks())) {
            return;
        }
        m_files = files;
        show();
        raise();
        activateWindow();
    });
}

bool TForm8::fillList(const std::optional<QList<QByteArray>>& lines) {
    if (!lines) {
        UserDialogs::show(this, MessageIcon::Error, Messages::ResetFolderSettings);
        return false;
    }
    fillStoredTextList(ListBox1, *lines);
    return true;
}

std::optional<QByteArray> TForm8::enteredText() {
    const ShiftJis::Encoded encoded = ShiftJis::encode(Edit1->text());
    if (!encoded.ok()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::UnencodableCharacters.arg(encoded.unencodable));
        return std::nullopt;
    }
    if (!fitsCell(encoded.bytes)) {
        return std::nullopt;
    }
    return encoded.bytes;
}

bool TForm8::fitsCell(const QByteArray& link) {
    // A cell keeps 250 bytes: a longer link would lose its end when the rows are saved.
    if (link.size() <= TableRowRecord::CellCapacity) {
        return true;
    }
    UserDialogs::show(this, MessageIcon::Error, Messages::linkTooLong(link.size()));
    return false;
}

void TForm8::Edit1KeyPress() {
    const std::optional<QByteArray> link = enteredText();
    if (!link) {
        return;
    }
    // The list is read afresh; an empty target is confirmed like any other and removes the cell's link.
    const TableDataFiles files = this->files();
    const std::optional<QList<QByteArray>> lines = files.readLinks();
    if (!fillList(lines)) {
        return;
    }
    if (!lines->contains(*link) && !files.addLink(*link)) {
        UserDialogs::show(this, MessageIcon::Error, Messages::ResetFolderSettings);
        return;
    }
    emit linkChosen(*link);
    hide();
}

void TForm8::ListBox1Click(QListWidgetItem* item) {
    if (item != nullptr) {
        Edit1->setText(item->text());
    }
}

void TForm8::ListBox1DblClick(QListWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    Edit1->setText(item->text());
    if (!fitsCell(storedText(item))) {
        return;
    }
    emit linkChosen(storedText(item));
    hide();
}

void TForm8::N1Click() {
    if (Edit1->text().isEmpty()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::ChooseEntryToRemove, Messages::WarningCaption);
        return;
    }
    const std::optional<QByteArray> link = enteredText();
    if (link) {
        fillList(files().removeLink(*link));
    }
}

TableDataFiles TForm8::files() const {
    return m_table != nullptr ? m_table->dataFiles() : m_files;
}

} // namespace kelvano
