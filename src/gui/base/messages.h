#pragma once

#include "core/store/failure_reasons.h"
#include "words/check_words.h"
#include "words/page_words.h"
#include "words/table_words.h"
#include "words/upload_words.h"

#include <QString>
#include <QStringList>

// The texts of the messages the windows show. Each text is defined once, in messages.cpp; the words the
// windows share with kelvano-publish (words/) and the reasons the store reports come with this header, so
// one include gives a window every text.

namespace kelvano::Messages {

// Caption of every message box
extern const QString Caption;

// Settings file
extern const QString CannotFinish;
extern const QString PageEncodingUnsaveable;
extern const QString PageMarkupUnsaveable;

// The program's command line (kelvano --help)
extern const QString ProgramHelp;
/// A second start on a program folder whose running copy does not answer.
extern const QString AlreadyRunning;

// Table definitions
extern const QString NoTable;
/// The findings of the pre-publish check left out of its message box, and a check that found none.
extern const QString CheckMoreFindings;
extern const QString CheckFoundNothing;
/// "ブラウザで開く" before the page exists, and when no browser could be started; the page's path.
extern const QString PageNotWrittenYet;
extern const QString BrowserNotOpened;
/// %1 the page: the desktop names no program for web pages.
extern const QString NoBrowserSetUp;
/// The progress of a page run: page n of m and the table's title.
extern const QString PageProgressText;
extern const QString NoTableMaster;

// Header and footer store
extern const QString CheckFolderSettings;
extern const QString StarterNeedsEmptyText;
extern const QString SnippetUnreadable;
extern const QString SnippetUnsaveable;
extern const QString SnippetUndeletable;

/// The tables of a page run whose page could not be written, each with its reason, in one list.
QString pagesNotWritten(const QStringList& failures);

// The table data editor's title, alone and naming the table ("テーブルデータ入力 - 0 価格表")
extern const QString EditorTitle;
QString editorTitle(int number, const QString& title);

// Table data files
extern const QString TableDataCreated;
extern const QString ResetFolderSettings;
extern const QString TableDataUnsaveable;

// Table data entry
extern const QString RowLimitReached;
extern const QString UnencodableCharacters;
extern const QString ChooseEntryToRemove;
extern const QString WarningCaption;

// String utility component
extern const QString ZelStringExCaption;

// Main window and table formatting dialogs
extern const QString SelectTable;
extern const QString TableNameRequired;
extern const QString FileNameRequired;
extern const QString ExtensionAutomatic;
extern const QString SelectTableForEntry;
extern const QString ConfirmDelete;
extern const QString NothingToRestore;
extern const QString HeaderNameRequired;
extern const QString FooterNameRequired;
extern const QString HeaderNameColon;
extern const QString FooterNameColon;
extern const QString HeaderBodyMissing;
extern const QString FooterBodyMissing;
extern const QString SelectDeleteTarget;
extern const QString SaveSettings;

// Shell views and the directory and picture pickers
QString shellMoveToTrash(const QString& name);
extern const QString ShellCannotMoveToTrash;
extern const QString FolderNotSettable;
extern const QString PictureExists;
extern const QString PicturePathUnencodable;
/// A picture's path or a link longer than a cell keeps (250 bytes); its length in bytes.
QString picturePathTooLong(qsizetype bytes);
QString linkTooLong(qsizetype bytes);

// Table data editor: unsaved rows and texts longer than their field
extern const QString TableDataChanged;
extern const QString DiscardChanges;
extern const QString TableDataChangedOnDisk;
/// Asked before an empty CSV file replaces the editor's rows (No is the default).
extern const QString CsvEmptyReplaces;
extern const QString SheetEmptyReplaces;
/// A table another program holds (a second copy of the program, an import on the command line).
QString tableInUse(const QString& fileName);
/// %1 is the field's capacity in bytes.
extern const QString TextCutToCapacity;

// Table data editor: texts from the clipboard and CSV files
/// %1 how many columns.
extern const QString ColumnsCutOff;
/// %1 the columns of the file, %2 the column count offered (at most a table's most).
extern const QString CsvColumnsRaise;
extern const QString SheetColumnsRaise;
/// %1 the characters, %2 the cells.
extern const QString CellsNotStored;

// Main window: a registered table's data files following its new file name
/// "データファイルの名前も「new」に変更しますか？"
QString renameDataFilesQuestion(const QString& newName);
/// `table` is the table's label (tableLabel).
QString dataFilesOfOpenTable(const QString& table);
QString dataFileInTheWay(const QString& path);
/// The rename from `from` to `to` failed for `reason`; `putBack` were given their old names again,
/// `notPutBack` (their new paths) could not be.
QString dataFilesNotRenamed(const QString& from, const QString& to, const QString& reason,
                            const QStringList& putBack, const QStringList& notPutBack);
QString dataFilesRenamed(const QString& newName);
/// The same, with the page under the old name that stays in the HTML folder.
QString dataFilesRenamedPageKept(const QString& newName, const QString& oldPage);

// Main window: deleting a header or footer
/// "「name」を削除しますか？"
QString confirmSnippetDelete(const QString& name);
/// Followed by the tables ("0 価格表") joined by "、".
extern const QString HeaderUsedBy;
extern const QString FooterUsedBy;
extern const QString UsersSeparator;

// Moving in: folders and file names from another computer
/// The mark beside a folder field whose folder cannot be used: its tooltip says why.
extern const QString FolderMark;
extern const QString FolderNotOfThisSystem;
extern const QString FolderMissing;
/// The one question at start-up: the files to rename (each its new path), then the folder settings
/// to replace ("データ: stored → proposed").
QString folderMappingQuestion(const QStringList& renames, const QStringList& folders);

// Sending to the server: the server settings dialog and the progress of a run
/// %1 the remote folder, %2 how many names, %3 the first names.
extern const QString UploadTestFound;
/// %1 the remote folder.
extern const QString UploadTestEmpty;
extern const QString UploadSending;
extern const QString UploadConnecting;
extern const QString UploadRemoving;
extern const QString ServerSettingsUnsaveable;

} // namespace kelvano::Messages
