#include "gui/entry/table_data_reference.h"
#include "gui/entry/stored_text_list.h"

#include "core/table/text_collation.h"
#include "gui/base/form_layout.h"
#include "gui/base/keyboard.h"
#include "gui/base/user_dialogs.h"
#include "gui/entry/three_column_list.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace kelvano {

TForm6::TForm6(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("テーブルデータ参照"));
    FormLayout::setFormFont(this);
    resize(394, 272);
    ListBox1 = new ThreeColumnList(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ListBox1);
    ListBox1->viewport()->installEventFilter(this);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { ListBox1DblClick(item); });

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("削除"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = PopupMenu1->addAction(QStringLiteral("閉じる"));
    N2->setObjectName(QStringLiteral("N2"));
    connect(N1, &QAction::triggered, this, [this] { UserDialogs::guarded(this, [this] { N1Click(); }); });
    connect(N2, &QAction::triggered, this, &QWidget::hide);
    Keyboard::giveDialogKeys(this, nullptr, [this] { hide(); });
    ListBox1->installEventFilter(this);
}

bool TForm6::LoadReferenceList(const TableDataFiles& files) {
    const std::optional<QList<QByteArray>> lines = files.readReferences();
    if (!lines) {
        UserDialogs::show(this, MessageIcon::None, Messages::ResetFolderSettings);
        return false;
    }
    fillStoredTextList(ListBox1, *lines);
    return true;
}

void TForm6::OpenAt(const TableDataFiles& files, QPoint topLeft) {
    UserDialogs::guarded(this, [&] {
        if (!LoadReferenceList(files)) {
            return;
        }
        m_files = files;
        move(topLeft);
        if (isVisible()) {
            raise();
            activateWindow();
        } else {
            show();
        }
    });
}

void TForm6::ListBox1DblClick(QListWidgetItem* item) {
    emit textChosen(storedText(item));
    hide();
}

void TForm6::N1Click() {
    const QListWidgetItem* item = ListBox1->currentItem();
    if (item == nullptr) {
        return;
    }
    // Only the list loses the entry; cells that hold the text keep it.
    const std::optional<QList<QByteArray>> lines = m_files.removeReference(storedText(item));
    if (!lines) {
        UserDialogs::show(this, MessageIcon::None, Messages::ResetFolderSettings);
        return;
    }
    fillStoredTextList(ListBox1, *lines);
}

bool TForm6::eventFilter(QObject* object, QEvent* event) {
    // Enter on an entry chooses it, as a double click does.
    if (object == ListBox1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && ListBox1->currentItem() != nullptr) {
            ListBox1DblClick(ListBox1->currentItem());
            return true;
        }
    }
    if (object == ListBox1->viewport() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (QListWidgetItem* item = ListBox1->itemAt(position)) {
            ListBox1->setCurrentItem(item);
            PopupMenu1->popup(ListBox1->viewport()->mapToGlobal(position));
        } else {
            hide();
        }
        return true;
    }
    return QWidget::eventFilter(object, event);
}

} // namespace kelvano
