#pragma once

#include "core/html/page_check.h"
#include "core/store/settings_record.h"
#include "core/store/table_definition_file.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QWidget>
#include <optional>

class QGroupBox;
class QPushButton;
class QTableWidget;

namespace kelvano {

class FolderSettingsPage;
class PagePreviewWindow;

/// The data page (TabSheet2): the registered tables with their tick boxes, and what is done with them:
/// their pages written, checked, previewed or opened in the browser, a table opened for data entry.
class DataPage : public QWidget {
    Q_OBJECT

public:
    /// The page reads and writes with the folder settings `folders` holds at each click.
    DataPage(const QString& programFolder, const FolderSettingsPage& folders, QWidget* parent = nullptr);

    /// Lists the tables, each with its tick box, not ticked.
    void listTables(const QList<NumberedDefinition>& tables);
    /// The preview window, once "プレビュー" has made it.
    PagePreviewWindow* previewWindow() const { return m_previewWindow; }

signals:
    /// A table is to be opened in the table data editor. `settings` are the folder settings in force;
    /// `number` and `title` name the table.
    void tableOpenRequested(const SettingsRecord& settings, const QString& programFolder,
                            const QByteArray& fileName, int columnCount, int number, const QString& title);
    /// The picture picker's folder tree is to be positioned on `folder`.
    void pictureFolderChosen(const QString& folder);

private:
    void BitBtn8Click();
    void BitBtn9Click();
    void ListView2DblClick();
    void setEveryTick(Qt::CheckState state);
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    /// The check of the pages of `numbers`, made on another thread (see CheckPages).
    std::optional<QList<PageFinding>> checkOffThisThread(const QList<int>& numbers);
    /// Makes the page of a definition in memory and shows it in the preview window.
    void previewPage(int number);
    /// The number of the selected row of ListView2, or -1 (after the message) when none is selected.
    int selectedTableForPage();
    /// The numbers of the ticked rows of ListView2, top to bottom.
    QList<int> tickedNumbers() const;

    QString m_programFolder;
    const FolderSettingsPage& m_folders;
    PagePreviewWindow* m_previewWindow = nullptr;
    /// The definition the preview window shows.
    int m_previewNumber = -1;

    QTableWidget* ListView2;
    QGroupBox* GroupBox2;
    QPushButton* BitBtn9;
    QGroupBox* GroupBox3;
    QPushButton* BitBtn8;
    /// "すべて選択" / "すべて解除": every tick of ListView2 on or off.
    QPushButton* Button4;
    QPushButton* Button5;
    /// "ページの確認": "検査" of the ticked tables' pages.
    QGroupBox* GroupBox8;
    /// "プレビュー" and "ブラウザで開く" of the selected table's page.
    QPushButton* Button6;
    QPushButton* Button7;
    QPushButton* Button8;
    QPushButton* Button9;
};

} // namespace kelvano
