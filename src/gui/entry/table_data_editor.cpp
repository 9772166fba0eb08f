#include "gui/entry/table_data_editor.h"

#include "core/store/io_error.h"
#include "core/store/shift_jis.h"
#include "core/table/layer_view_model.h"
#include "core/table/table_data_model.h"
#include "core/table/table_layers_file.h"
#include "gui/base/form_layout.h"
#include "gui/base/user_dialogs.h"
#include "gui/base/window_place.h"
#include "gui/entry/table_grid_delegate.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>
#include <QtMath>
#include <algorithm>

namespace kelvano {
namespace {

constexpr int RowHeight = 44;
constexpr int HeadingColumnWidth = 64;
const QString EditorPlaceKey = QStringLiteral("Editor");

/// A read-only view of one decoration layer, headed and labelled like the text grid, whose place it
/// takes when shown.
QTableView* makeLayerView(QWidget* parent, const QString& name, QAbstractItemModel* model) {
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setTabKeyNavigation(false);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setWordWrap(false);
    view->horizontalHeader()->setMinimumSectionSize(0);
    view->horizontalHeader()->setFixedHeight(RowHeight);
    view->verticalHeader()->setMinimumSectionSize(1);
    view->verticalHeader()->setDefaultSectionSize(RowHeight);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setFixedWidth(HeadingColumnWidth);
    view->hide();
    return view;
}

} // namespace

TForm5::TForm5(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_document(new TableDocument(this)), m_model(m_document->model()),
      m_pictures(new LayerViewModel(m_model, CellLayer::Picture, this)),
      m_links(new LayerViewModel(m_model, CellLayer::Link, this)),
      m_delegate(new TableGridDelegate(m_model, this)), m_undo(m_document->undoStack()) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(Messages::EditorTitle);
    FormLayout::setFormFont(this);
    resize(674, 328);

    StringGrid1 = new QTableView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setModel(m_model);
    StringGrid1->setItemDelegate(m_delegate);
    StringGrid1->setTabKeyNavigation(false);
    StringGrid1->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    StringGrid1->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    StringGrid1->verticalHeader()->setMinimumSectionSize(1);
    StringGrid1->verticalHeader()->setDefaultSectionSize(RowHeight);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setFixedWidth(HeadingColumnWidth);
    StringGrid1->horizontalHeader()->setFixedHeight(RowHeight);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    StringGrid1->setMouseTracking(true);
    StringGrid1->viewport()->setMouseTracking(true);
    StringGrid1->installEventFilter(this);
    StringGrid1->viewport()->installEventFilter(this);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(42);
    auto* buttons = new QHBoxLayout(Panel1);
    const auto addButton = [this, buttons](const QString& name, const QString& caption) {
        auto* button = new QPushButton(caption, Panel1);
        button->setObjectName(name);
        buttons->addWidget(button);
        return button;
    };
    BitBtn1 = addButton(QStringLiteral("BitBtn1"), QStringLiteral("保存・閉じる(&C)"));
    BitBtn2 = addButton(QStringLiteral("BitBtn2"), QStringLiteral("破棄・閉じる(&D)"));
    Button1 = addButton(QStringLiteral("Button1"), QStringLiteral("データ表示"));
    Button2 = addButton(QStringLiteral("Button2"), QStringLiteral("画像名表示"));
    Button3 = addButton(QStringLiteral("Button3"), QStringLiteral("URL表示"));
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Only one of the text grid and the two decoration views is shown at a time, in the same place.
    StringGrid2 = makeLayerView(this, QStringLiteral("StringGrid2"), m_pictures);
    StringGrid3 = makeLayerView(this, QStringLiteral("StringGrid3"), m_links);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(StringGrid2, 1);
    layout->addWidget(StringGrid3, 1);
    layout->addWidget(Panel1);

    buildMenu();

    m_model->setTextMeasure([this](QByteArrayView text) { return textWidth(text); });

    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(StringGrid1, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        closeCellEditor(); // a text being typed becomes a step that "元に戻す" can take back
        PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(at));
    });
    connect(m_delegate, &TableGridDelegate::textTyped, this, [this] {
        AutoSizeColumns();
        DrawCellMarkers();
    });
    connect(m_delegate, &TableGridDelegate::gridKeyPressed, this,
            [this](int key, Qt::KeyboardModifiers modifiers) {
                const QModelIndex before = StringGrid1->currentIndex();
                finishTyping(); // the key ends the typed text's step
                UserDialogs::guarded(this, [&] { StringGrid1KeyDown(key, modifiers); });
                // Enter keeps the in-place editor open: when the current cell moved, typing goes on in
                // the new current cell as if it had been started there.
                const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
                if (enter && StringGrid1->currentIndex() != before && StringGrid1->currentIndex().isValid()) {
                    StringGrid1->edit(StringGrid1->currentIndex());
                }
                if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
                    focusNextPrevChild(key == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier));
                }
                AutoSizeColumns();
                DrawCellMarkers();
            });
    connect(m_model, &TableDataModel::textRefused, this, [this](const QString& characters) {
        UserDialogs::show(this, MessageIcon::Error, Messages::UnencodableCharacters.arg(characters));
    });
    // A typed text is one step of the undo history from its first character to the editor's closing.
    connect(m_model, &TableDataModel::textAboutToBeTyped, this,
            [this](int row, int column) { beginTyping(row, column); });
    connect(m_delegate, &QAbstractItemDelegate::closeEditor, this, [this] { finishTyping(); });
    connect(m_undo, &QUndoStack::canUndoChanged, Undo1, &QAction::setEnabled);
    connect(m_undo, &QUndoStack::canRedoChanged, Redo1, &QAction::setEnabled);
    setCurrent(0, 0);
}

TForm5::~TForm5() {
    // An in-place editor still open when the window goes writes nothing back: by the time it loses
    // its focus, the window's own members are gone.
    QObject::disconnect(m_delegate, nullptr, StringGrid1, nullptr);
    QObject::disconnect(m_delegate, nullptr, this, nullptr);
    QObject::disconnect(m_model, nullptr, this, nullptr);
}

TableDataFiles TForm5::dataFiles() const {
    return m_document->files();
}

void TForm5::OpenTable(const SettingsRecord& settings, const QString& programFolder,
                       const QByteArray& fileName, int columnCount, int number, const QString& title) {
    UserDialogs::guarded(this, [&] {
        if (!settleChanges()) {
            return;
        }
        if (!LoadTableData({settings, programFolder, fileName, columnCount, number})) {
            return; // the table stays closed; whatever the editor held is kept
        }
        Button1Click();
        setWindowTitle(number < 0 ? Messages::EditorTitle : Messages::editorTitle(number, title));
        if (!m_centred) {
            if (!WindowPlace::restore(this, programFolder, EditorPlaceKey)) {
                FormLayout::centreOnScreen(this);
            }
            m_centred = true;
        }
        show();
        raise();
        activateWindow();
    });
}

bool TForm5::LoadTableData(const TableDocument::Source& source) {
    m_typing.reset();
    switch (m_document->open(source)) {
    case TableDocument::Opening::InUse:
        UserDialogs::show(this, MessageIcon::Error, Messages::tableInUse(ShiftJis::decode(source.fileName)));
        return false;
    case TableDocument::Opening::Unavailable:
        UserDialogs::show(this, MessageIcon::None, Messages::ResetFolderSettings);
        return false;
    case TableDocument::Opening::Unreadable:
        // The table starts empty; the file stays as it is until the rows are saved over it.
        UserDialogs::show(this, MessageIcon::None, Messages::TableDataCreated);
        break;
    case TableDocument::Opening::Created: // a table's first opening: nothing to tell
    case TableDocument::Opening::Read:
        break;
    }
    setCurrent(0, 0);
    AutoSizeColumns();
    return true;
}

bool TForm5::saveRows() {
    finishTyping(); // the text being typed is saved with the rest, so it belongs before the clean state
    TableDocument::Saving saved = m_document->save(TableDocument::Overwrite::IfUnchanged);
    if (saved == TableDocument::Saving::ChangedOnDisk) {
        // Another program changed the file since it was read: its rows are kept unless the user says.
        if (!UserDialogs::askYesNo(this, MessageIcon::Warning, Messages::TableDataChangedOnDisk,
                                   Answer::No)) {
            return false;
        }
        saved = m_document->save(TableDocument::Overwrite::Always);
    }
    if (saved != TableDocument::Saving::Saved) {
        // The rows stay in the window, so nothing typed is lost; the old file is unchanged.
        const std::optional<IoError>& error = m_document->saveError();
        UserDialogs::show(this, MessageIcon::None,
                          error ? Messages::TableDataUnsaveable + u'\n' + error->message()
                                : Messages::TableDataUnsaveable);
        return false;
    }
    return true;
}

bool TForm5::storeRows() {
    finishTyping();
    return m_document->save(TableDocument::Overwrite::Always) == TableDocument::Saving::Saved;
}

void TForm5::closeTable() {
    closeDocument();
    hide();
}

void TForm5::closeDocument() {
    WindowPlace::keep(this, programFolder(), EditorPlaceKey);
    m_document->close();
}

bool TForm5::saveUnasked() {
    try {
        return !isModified() || storeRows();
    } catch (const IoError&) {
        return false; // the program is ending: there is no one to tell
    }
}

bool TForm5::isModified() {
    finishTyping();
    return m_document->isModified();
}

bool TForm5::settleChanges() {
    if (!isModified()) {
        return true;
    }
    if (isVisible()) {
        raise();
    }
    switch (
        UserDialogs::askYesNoCancel(this, MessageIcon::Question, Messages::TableDataChanged, Answer::Yes)) {
    case Answer::Yes:
        return saveRows();
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool TForm5::confirmDiscard() {
    if (!isModified()) {
        return true;
    }
    if (!UserDialogs::askYesNo(this, MessageIcon::Question, Messages::DiscardChanges, Answer::No)) {
        return false;
    }
    m_document->markUnmodified();
    return true;
}

bool TForm5::mayEnd() {
    bool settled = false;
    UserDialogs::guarded(this, [this, &settled] { settled = settleChanges(); });
    if (settled) {
        m_document->markUnmodified(); // saved, or given up as the program ends
    }
    return settled;
}

int TForm5::textWidth(QByteArrayView text) {
    // Widths add up per character from a cache, so a large table is measured in one pass without
    // laying out each text; an ASCII text is measured from its bytes (0: not measured yet).
    const auto widthOf = [this](char16_t c) {
        qreal& known = c < 0x80 ? m_asciiWidths[c] : m_characterWidths[c];
        known = known != 0 ? known : QFontMetricsF(StringGrid1->font()).horizontalAdvance(QChar(c));
        return known;
    };
    qreal width = 0;
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
        for (const char c : text) {
            width += widthOf(char16_t(c));
        }
        return qCeil(width);
    }
    for (const QChar character : shiftJisText(text)) {
        width += widthOf(character.unicode());
    }
    return qCeil(width);
}

void TForm5::AutoSizeColumns() {
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const int widest = m_model->widestText(column);
        StringGrid1->setColumnWidth(column, widest <= 90 ? widest + 90 : widest + 60);
    }
    if (StringGrid2->isVisible()) {
        sizeViewColumns(StringGrid2, CellLayer::Picture);
    }
    if (StringGrid3->isVisible()) {
        sizeViewColumns(StringGrid3, CellLayer::Link);
    }
}

void TForm5::DrawCellMarkers() {
    StringGrid1->viewport()->update();
}

void TForm5::setCurrent(int row, int column) {
    StringGrid1->setCurrentIndex(m_model->index(row, column));
}

bool TForm5::eventFilter(QObject* object, QEvent* event) {
    if (object == StringGrid1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        bool handled = false;
        UserDialogs::guarded(this, [&] { handled = StringGrid1KeyDown(key->key(), key->modifiers()); });
        if (handled || !key->text().isEmpty()) {
            AutoSizeColumns();
        }
        DrawCellMarkers();
        return handled;
    }
    if (object == StringGrid1->viewport()) {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint position = mouse->position().toPoint();
            m_lastMouse = StringGrid1->viewport()->mapTo(StringGrid1, position);
            if (event->type() == QEvent::MouseButtonPress) {
                StringGrid1MouseDown(mouse->button(), position);
            } else if (event->type() == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
                StringGrid1DblClick();
                return true;
            }
            DrawCellMarkers();
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(object, event);
}

void TForm5::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && StringGrid1->isVisible()) {
        StringGrid1->setFocus();
        DrawCellMarkers();
    }
}

void TForm5::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (StringGrid1->isVisible()) {
        StringGrid1->setFocus();
    }
}

void TForm5::EnterKey() {
    const QModelIndex current = StringGrid1->currentIndex();
    if (!current.isValid()) {
        return;
    }
    const QByteArrayView text = m_model->layers().text(current.row(), current.column());
    if (!text.isEmpty() && !dataFiles().addReference(text)) {
        UserDialogs::show(this, MessageIcon::None, Messages::ResetFolderSettings);
        return;
    }
    if (current.column() < m_model->columnCount() - 1) {
        setCurrent(current.row(), current.column() + 1);
    } else if (current.row() == m_model->rowCount() - 1) {
        const int rows = m_model->rowCount();
        if (!recordRowChange(rows, 0, [this, rows] { return m_model->insertEmptyRow(rows); })) {
            UserDialogs::show(this, MessageIcon::Error, Messages::RowLimitReached);
            return;
        }
        setCurrent(m_model->rowCount() - 1, 0);
    }
}

void TForm5::StringGrid1MouseDown(Qt::MouseButton button, QPoint position) {
    if (button != Qt::RightButton) {
        return;
    }
    // The popup menu acts on the cell under the pointer; outside the data cells nothing changes.
    const QModelIndex under = StringGrid1->indexAt(position);
    if (under.isValid()) {
        StringGrid1->setCurrentIndex(under);
    }
}

void TForm5::StringGrid1DblClick() {
    emit referenceRequested(dataFiles(), pos() + m_lastMouse);
}

void TForm5::BitBtn1Click() {
    UserDialogs::guarded(this, [this] {
        if (saveRows()) {
            closeTable();
        }
    });
}

void TForm5::BitBtn2Click() {
    if (confirmDiscard()) {
        closeTable();
    }
}

void TForm5::closeEvent(QCloseEvent* event) {
    // The same question as at the program's end, with the same default: Enter saves.
    bool settled = false;
    UserDialogs::guarded(this, [this, &settled] { settled = settleChanges(); });
    if (!settled) {
        event->ignore();
        return;
    }
    m_document->markUnmodified(); // saved, or given up
    closeDocument();
    QWidget::closeEvent(event);
}

} // namespace kelvano
