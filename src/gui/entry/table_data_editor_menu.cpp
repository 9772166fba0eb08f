#include "gui/entry/table_data_editor.h"

#include "gui/base/user_dialogs.h"
#include "gui/entry/csv_preview_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>

// The table data editor's popup menu, and the keys the grid acts on: most of them the menu's items'.

namespace kelvano {
namespace {

/// The CSV prompts of the program: Qt's file dialogs and the preview dialog.
TForm5::CsvPrompts fileDialogPrompts() {
    TForm5::CsvPrompts prompts;
    prompts.fileToRead = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(
            parent, QStringLiteral("CSVを読み込む"), {},
            QStringLiteral("CSV・TSV (*.csv *.tsv *.txt);;すべてのファイル (*)"));
    };
    prompts.fileToWrite = [](QWidget* parent) {
        const QString utf8 = QStringLiteral("CSV UTF-8 (*.csv)");
        const QString shiftJis = QStringLiteral("CSV Shift-JIS (*.csv)");
        QString chosen = utf8;
        QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("CSVに書き出す"), {},
                                                    utf8 + QStringLiteral(";;") + shiftJis, &chosen);
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
            path += QStringLiteral(".csv");
        }
        return std::pair(path, chosen == shiftJis ? TextEncoding::ShiftJis : TextEncoding::Utf8);
    };
    prompts.confirmImport = [](QWidget* parent, const CsvFile& file, int columnCount) -> std::optional<bool> {
        CsvPreviewDialog preview(file, columnCount, parent);
        if (preview.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        return preview.append();
    };
    prompts.sheetToRead = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(
            parent, QStringLiteral("表計算ファイルを読み込む"), {},
            QStringLiteral("表計算ファイル (*.xlsx *.ods);;すべてのファイル (*)"));
    };
    prompts.confirmSheetImport = [](QWidget* parent, SheetFile& file,
                                    int columnCount) -> std::optional<bool> {
        const QString path = file.path;
        CsvPreviewDialog preview(
            file, columnCount,
            [path](int index) {
                return SheetFile::read(path, SheetChoice{index, std::nullopt});
            },
            parent);
        if (preview.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        file = preview.sheetFile();
        return preview.append();
    };
    return prompts;
}

} // namespace

QMenu* TForm5::addSubmenu(const QString& name, const QString& caption) {
    QMenu* menu = PopupMenu1->addMenu(caption);
    menu->setObjectName(name + QStringLiteral("Menu"));
    menu->menuAction()->setObjectName(name);
    return menu;
}

QAction* TForm5::addItem(QMenu* menu, const QString& name, const QString& caption,
                         const std::function<void()>& handler) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, handler] { UserDialogs::guarded(this, handler); });
    return action;
}

void TForm5::buildMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    buildDecorationItems();
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N1"));
    buildRowItems();
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N7"));
    buildSortItems();
    buildUndoItems();
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N22"));
    CsvRead1 = addItem(PopupMenu1, QStringLiteral("CsvRead1"), QStringLiteral("CSVを読み込む…"),
                       [this] { CsvRead1Click(); });
    SheetRead1 = addItem(PopupMenu1, QStringLiteral("SheetRead1"),
                         QStringLiteral("表計算ファイルを読み込む…"), [this] { SheetRead1Click(); });
    CsvWrite1 = addItem(PopupMenu1, QStringLiteral("CsvWrite1"), QStringLiteral("CSVに書き出す…"),
                        [this] { CsvWrite1Click(); });
    m_csvPrompts = fileDialogPrompts();
}

void TForm5::buildDecorationItems() {
    QMenu* pictures = addSubmenu(QStringLiteral("N3"), QStringLiteral("画像を埋め込む"));
    N3 = pictures->menuAction();
    N9 = addItem(pictures, QStringLiteral("N9"), QStringLiteral("文字の右に配置"),
                 [this] { emit picturePickerRequested(PictureUse::RightOfText); });
    N10 = addItem(pictures, QStringLiteral("N10"), QStringLiteral("文字の左に配置"),
                  [this] { emit picturePickerRequested(PictureUse::LeftOfText); });
    N12 = addItem(pictures, QStringLiteral("N12"), QStringLiteral("配置を逆転"), [this] { N12Click(); });
    N13 = addItem(pictures, QStringLiteral("N13"), QStringLiteral("画像を解除"),
                  [this] { clearDecoration(CellLayer::Picture); });

    QMenu* links = addSubmenu(QStringLiteral("N4"), QStringLiteral("ハイパーリンク"));
    N4 = links->menuAction();
    N14 = addItem(links, QStringLiteral("N14"), QStringLiteral("リンクを設定"), [this] { N14Click(); });
    N15 = addItem(links, QStringLiteral("N15"), QStringLiteral("リンクを解除"),
                  [this] { clearDecoration(CellLayer::Link); });

    QMenu* backgrounds = addSubmenu(QStringLiteral("N11"), QStringLiteral("セルの背景"));
    N11 = backgrounds->menuAction();
    N16 = addItem(backgrounds, QStringLiteral("N16"), QStringLiteral("背景画像を設定"),
                  [this] { emit picturePickerRequested(PictureUse::Background); });
    N17 = addItem(backgrounds, QStringLiteral("N17"), QStringLiteral("背景画像を解除"),
                  [this] { clearDecoration(CellLayer::Background); });
}

void TForm5::buildRowItems() {
    QMenu* rows = addSubmenu(QStringLiteral("gyou1"), QStringLiteral("行編集"));
    gyou1 = rows->menuAction();
    N18 = addItem(rows, QStringLiteral("N18"), QStringLiteral("挿入"), [this] { N18Click(); });
    Delete1 = addItem(rows, QStringLiteral("Delete1"), QStringLiteral("削除"), [this] { Delete1Click(); });
    N19 = addItem(rows, QStringLiteral("N19"), QStringLiteral("上へ移動"), [this] { N19Click(); });
    N20 = addItem(rows, QStringLiteral("N20"), QStringLiteral("下へ移動"), [this] { N20Click(); });
    // The grid acts on these keys itself (StringGrid1KeyDown); the menu shows them beside the items.
    N18->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus));
    Delete1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    for (const auto& [action, key] : {std::pair{N19, Qt::Key_Up}, std::pair{N20, Qt::Key_Down}}) {
        action->setShortcut(QKeySequence(Qt::CTRL | key));
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
    }
}

void TForm5::buildSortItems() {
    soto1 = addItem(PopupMenu1, QStringLiteral("soto1"), QStringLiteral("ソート（昇順）"),
                    [this] { sortRows(Qt::AscendingOrder); });
    N8 = addItem(PopupMenu1, QStringLiteral("N8"), QStringLiteral("ソート（降順）"),
                 [this] { sortRows(Qt::DescendingOrder); });
    NumSort1 = addItem(PopupMenu1, QStringLiteral("NumSort1"), QStringLiteral("数値順に並べ替え（昇順）"),
                       [this] { sortRowsNumerically(Qt::AscendingOrder); });
    NumSort2 = addItem(PopupMenu1, QStringLiteral("NumSort2"), QStringLiteral("数値順に並べ替え（降順）"),
                       [this] { sortRowsNumerically(Qt::DescendingOrder); });
}

void TForm5::buildUndoItems() {
    // Undo and redo head the menu. Their keys are the grid's (StringGrid1KeyDown); the menu shows them.
    QAction* first = PopupMenu1->actions().constFirst();
    Undo1 = addItem(PopupMenu1, QStringLiteral("Undo1"), QStringLiteral("元に戻す"),
                    [this] { undoOrRedo(false); });
    Undo1->setShortcut(QKeySequence::Undo);
    Redo1 = addItem(PopupMenu1, QStringLiteral("Redo1"), QStringLiteral("やり直し"),
                    [this] { undoOrRedo(true); });
    Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    PopupMenu1->insertAction(first, Undo1);
    PopupMenu1->insertAction(first, Redo1);
    PopupMenu1->insertSeparator(first)->setObjectName(QStringLiteral("N21"));
    Undo1->setEnabled(false);
    Redo1->setEnabled(false);
}

bool TForm5::StringGrid1KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    // The keyboard's ways to the popup menu, opened at the current cell.
    if (key == Qt::Key_Menu || (key == Qt::Key_F10 && (modifiers & Qt::ShiftModifier))) {
        const QRect cell = StringGrid1->visualRect(StringGrid1->currentIndex());
        PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(cell.isValid() ? cell.center() : QPoint()));
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        EnterKey();
        return true;
    }
    if ((modifiers & Qt::ControlModifier) && key == Qt::Key_Up) {
        N19Click();
        return true;
    }
    if ((modifiers & Qt::ControlModifier) && key == Qt::Key_Down) {
        N20Click();
        return true;
    }
    // Spreadsheet keys: undo and redo, the clipboard, clearing, inserting and deleting rows.
    const bool control = modifiers & Qt::ControlModifier;
    if (control && (key == Qt::Key_Z || key == Qt::Key_Y)) {
        undoOrRedo(key == Qt::Key_Y || (modifiers & Qt::ShiftModifier));
    } else if (control && key == Qt::Key_C) {
        CopyCells();
    } else if (control && key == Qt::Key_X) {
        CutCells();
    } else if (control && key == Qt::Key_V) {
        PasteCells();
    } else if (control && key == Qt::Key_Plus) {
        N18Click();
    } else if (control && key == Qt::Key_Minus) {
        Delete1Click();
    } else if (!control && key == Qt::Key_Delete) {
        ClearCells();
    } else {
        return false;
    }
    return true;
}

} // namespace kelvano
