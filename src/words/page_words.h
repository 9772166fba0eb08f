#pragma once

#include "core/html/page_generator.h"
#include "core/store/folder_mapping.h"

#include <QString>
#include <QStringList>

// The words of a page run and of the tables it names, shared by the program's message boxes and
// kelvano-publish's lines. Each text is defined once, in page_words.cpp.

namespace kelvano::Messages {

/// TABLE.DAT could not be opened.
extern const QString NoData;
// What a page run says; the values each event comes with (PageEvent) fill them in order.
extern const QString FileNameUnusableIn;
extern const QString HeaderMissing;
extern const QString FooterMissing;
extern const QString LeftScratchFilesRemoved;
extern const QString PagesFinished;
extern const QString TableDataNotEntered;
extern const QString PageNotWritten;
extern const QString DefinitionUnreadable;
extern const QString PagesPartlyWritten;
extern const QString PagesCancelled;

/// A table, named in messages by its number and title.
QString tableLabel(int number, const QString& title);
/// A stored file name that would reach outside its folder, with the table's number and decoded title.
QString unusableFileNameText(int number, const QString& title);
/// The name of a folder setting as the folder settings page labels it: データ, HTML, 画像.
QString folderSettingName(FolderSetting setting);

/// A message of a page run as lines: the program shows them one below the other in its message box,
/// kelvano-publish on one line. The first line says what happened; the table's file and the reason
/// follow where there are.
QStringList pageMessageLines(const PageMessage& message);
/// The same as the message box shows it.
QString pageMessageText(const PageMessage& message);

} // namespace kelvano::Messages
