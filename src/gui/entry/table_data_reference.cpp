#include "gui/entry/table_data_reference.h"
#include "gui/entry/stored_text_list.h"

#include "core/table/text_collation.h"
#include "gui/base/form_layout.h"
#include "gui/base/user_dialogs.h"
#include "gui/entry/three_column_list.h"

#include <QListWidget>
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

bool TForm6::eventFilter(QObject* object, QEvent* event) {
    if (object == ListBox1->viewport() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        hide();
        return true;
    }
    return QWidget::eventFilter(object, event);
}

} // namespace kelvano
