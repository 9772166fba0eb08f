#pragma once

#include <QString>

// What kelvano-publish says in its own words: its usage and help, its command line's faults and the lines
// of its commands. The sentences it shares with the program come from words/. Each text is defined once,
// in publish_texts.cpp.

namespace kelvano::Messages {

// Usage, help and the command line
extern const QString PublishUsage;
extern const QString PublishHelp;
extern const QString PublishNoMode;
extern const QString PublishConflictingModes;
extern const QString PublishUnknownOption;
extern const QString PublishMissingFolder;
extern const QString PublishBadNumber;
extern const QString PublishNoSuchDefinition;
extern const QString PublishBadEncoding;
extern const QString PublishBadMarkup;

// Settings and folders
/// %1 why TAVELO.DAT is not used, %2 the program folder.
extern const QString SettingsDefaultsUsed;
/// %1 a key of KELVANO.INI, %2 the value it holds, %3 the value used instead.
extern const QString ProgramSettingUnknown;
/// %1 the folder setting's name, %2 the stored folder, %3 the folder used now.
extern const QString PublishFolderMapped;
/// %1 the folder setting's name, %2 the stored folder.
extern const QString PublishFolderMissing;
extern const QString PublishFolderNotOfThisSystem;
extern const QString PublishMapFoldersHint;

// The CSV commands
extern const QString PublishCsvUsage;
extern const QString PublishCsvHelp;
extern const QString PublishCsvArguments;
/// %1 the commands given together ("--export-csv と --import-csv").
extern const QString PublishCsvModesTogether;
/// %1 the encoding named.
extern const QString PublishCsvBadEncoding;
/// %1 how many fields, %2 the column count.
extern const QString CsvFieldsDropped;
/// %1 the row limit.
extern const QString CsvTooManyRows;
/// %1 the table (tableLabel): its lock was held by another program for as long as a writer waits.
extern const QString TableInUse;
extern const QString CsvEmpty;
extern const QString CsvTargetRefused;
/// Refusals of a file to write over: one without write permission, one the program keeps its data in.
extern const QString ReadOnlyFile;
extern const QString ProgramsOwnFile;
/// A line about a table's rows: %1 the table (tableLabel), %2 what is told.
extern const QString TableLine;
/// %1 the rows read, %2 the table's file.
extern const QString CsvImported;
extern const QString CsvExported;

// The spreadsheet commands
/// The usage lines and help of --import-sheet and --list-sheets.
extern const QString SheetUsage;
extern const QString SheetHelp;
extern const QString SheetListArguments;
extern const QString SheetEmpty;

// Sending to the server
extern const QString PublishUploadUsage;
extern const QString PublishUploadHelp;
/// %1 the file; %2 new or changed.
extern const QString UploadWouldSend;
extern const QString UploadReasonNew;
extern const QString UploadReasonChanged;
/// %1 how many would go, %2 how many are unchanged.
extern const QString UploadWouldSendCount;
extern const QString UploadNoPassword;
extern const QString UploadTrustAnswer;
extern const QString UploadRemoveNotAsked;

} // namespace kelvano::Messages
