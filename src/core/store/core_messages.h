#pragma once

#include <QString>

namespace kelvano {
enum class FolderSetting;
}

// What the window-free core says in its own words: the reasons of I/O failures, the messages of a page
// run, refused file names and the texts of kelvano-publish. The program shows them as they stand. Each
// text is defined once, in core_messages.cpp.

namespace kelvano::Messages {

// Reasons of I/O failures
extern const QString NoSuchFileOrFolder;
extern const QString PermissionDenied;
extern const QString DiskFull;
extern const QString FileTooLarge;
extern const QString ReadOnlyFileSystem;
extern const QString NameTooLong;
extern const QString NotAFolder;
extern const QString IsAFolder;
/// Refusals of a file to write over: one without write permission, one the program keeps its data in.
extern const QString ReadOnlyFile;
extern const QString ProgramsOwnFile;
extern const QString LinkLoop;
/// %1 the size of TAVELO.DAT, %2 the size of its record.
extern const QString SettingsFileShort;
/// %1 why TAVELO.DAT is not used, %2 the program folder.
extern const QString SettingsDefaultsUsed;
/// %1 a key of KELVANO.INI, %2 the value it holds, %3 the value used instead.
extern const QString ProgramSettingUnknown;
extern const QString NotAPlainFile;
extern const QString FileChangedSinceRead;
extern const QString DeviceError;
extern const QString AlreadyThere;
extern const QString UnknownIoReason;
extern const QString ReadPastEnd;
extern const QString WritePastEnd;
extern const QString IncompleteLastRecord;

// Table definitions
extern const QString NoData;

// Stored file names that would reach outside their folders
extern const QString FileNameUnusable;
/// The same for a stored definition: its number and its TableName.
extern const QString FileNameUnusableIn;

// Page generator
extern const QString HeaderMissing;
extern const QString FooterMissing;
/// %1 how many scratch files, %2 their bytes, %3 the folder they were in.
extern const QString LeftScratchFilesRemoved;
extern const QString PagesFinished;
/// A table, named in messages by its number and title.
QString tableLabel(int number, const QString& title);
extern const QString TableDataNotEntered;
extern const QString PageNotWritten;
extern const QString DefinitionUnreadable;
extern const QString PagesPartlyWritten;
/// A run the user stopped: the pages written, and those not written (failed or not reached).
extern const QString PagesCancelled;

// Pre-publish check
extern const QString CheckHeaderNotChosen;
extern const QString CheckHeaderBodyMissing;
extern const QString CheckFooterNotChosen;
extern const QString CheckFooterBodyMissing;
extern const QString CheckNoDataFile;
/// %1 the data file, %2 why it cannot be read.
extern const QString CheckDataFileUnreadable;
extern const QString CheckPictureMissing;
extern const QString CheckBackgroundMissing;
extern const QString CheckServerImagePath;
extern const QString CheckNoCharset;
extern const QString CheckCharsetOther;
extern const QString CheckHiddenText;
extern const QString CheckLocalPageMissing;
extern const QString CheckWideForPhones;
extern const QString CheckHeaderMarkup;
extern const QString CheckFooterMarkup;
extern const QString CheckFoundNothing;
/// %1 the stored path or link.
extern const QString CheckBackslashInPath;
/// %1 the stored name, %2 the name on disk.
extern const QString CheckNameCaseDiffers;
/// %1 the stored name.
extern const QString CheckNameInShiftJis;
/// %1 the stored name, %2 the names on disk, %3 the one used.
extern const QString CheckNameAmbiguous;

// kelvano-publish (the headless page generator)
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
/// %1 the folder setting's name, %2 the stored folder, %3 the folder used now.
extern const QString PublishFolderMapped;
/// %1 the folder setting's name, %2 the stored folder.
extern const QString PublishFolderMissing;
extern const QString PublishFolderNotOfThisSystem;
extern const QString PublishMapFoldersHint;

/// The name of a folder setting as the folder settings page labels it: データ, HTML, 画像.
QString folderSettingName(FolderSetting setting);

// Cell texts from other programs (the clipboard, CSV files) and kelvano-publish's CSV commands
/// A cell as the editor heads it: row and column from 1.
QString cellName(int row, int column);
/// After a list of cells: how many more there are.
extern const QString MoreCells;
/// %1 the capacity in bytes, %2 the cells.
extern const QString CellTextsCut;
/// %1 the characters, %2 the cells.
extern const QString CellTextsUnencodable;
/// %1 how many fields, %2 the column count.
extern const QString CsvFieldsDropped;
/// %1 the row limit.
extern const QString CsvTooManyRows;
extern const QString CsvImportRefused;
/// %1 the table (tableLabel): its lock was held by another program for as long as a writer waits.
extern const QString TableInUse;
/// %1 why (ReadOnlyFile, ProgramsOwnFile, NotAPlainFile, IsAFolder), %2 the CSV file asked for.
/// Why a CSV file is not read (%1 a line from 1), and that it holds no row.
extern const QString CsvNotText;
extern const QString CsvLineNotShiftJis;
extern const QString CsvQuoteNotClosed;
extern const QString CsvEmpty;
extern const QString CsvTargetRefused;
/// %1 the rows read, %2 the table's file.
extern const QString CsvImported;
extern const QString CsvExported;
extern const QString CsvUnreadable;
extern const QString PublishCsvUsage;
extern const QString PublishCsvHelp;
extern const QString PublishCsvArguments;
/// %1 the encoding named.
extern const QString PublishCsvBadEncoding;

// Sending pages to the web server (kelvano-publish --upload, and the data page's button)
extern const QString PublishUploadUsage;
extern const QString PublishUploadHelp;
/// %1 the sent files, %2 the unchanged ones.
extern const QString UploadFinished;
/// %1 the table (tableLabel), %2 the page's path.
extern const QString UploadPageNotWritten;
/// %1 the table (tableLabel), %2 the picture's name.
extern const QString UploadPictureMissing;
extern const QString UploadImagePathUnusable;
/// %1 the file under the HTML folder, %2 the server's reason.
extern const QString UploadFileFailed;
/// %1 n, %2 m, %3 the file, %4 its size in bytes.
extern const QString UploadFileStarting;
/// %1 the file; %2 new or changed.
extern const QString UploadWouldSend;
extern const QString UploadReasonNew;
extern const QString UploadReasonChanged;
/// %1 how many would go, %2 how many are unchanged.
extern const QString UploadWouldSendCount;
extern const QString UploadNoServer;
extern const QString UploadNoPassword;
extern const QString UploadPasswordPrompt;
/// %1 the server, %2 the fingerprint.
extern const QString UploadTrustHostKey;
/// %1 the server, %2 the fingerprint, %3 why it does not verify.
extern const QString UploadTrustCertificate;
extern const QString UploadTrustAnswer;
/// %1 the server's or library's words.
extern const QString UploadUnreachable;
extern const QString UploadLoginRefused;
extern const QString UploadHostKeyNotTrusted;
/// %1 the server, %2 the trusted fingerprint, %3 the offered one, %4 the known-hosts file.
extern const QString UploadHostKeyChanged;
extern const QString UploadCertificateNotTrusted;
/// %1 the server, %2 the pinned fingerprint, %3 the offered one, %4 the pins file.
extern const QString UploadCertificateChanged;
extern const QString UploadCancelled;
extern const QString UploadConnectionBroken;
/// %1 how many files were not tried.
extern const QString UploadNotTried;
/// %1 the file.
extern const QString UploadWouldRemove;
extern const QString UploadRemoveQuestion;
extern const QString UploadRemoveNotAsked;
/// %1 how many were removed.
extern const QString UploadRemoved;
extern const QString UploadNothingToRemove;
/// %1 the file under the HTML folder, %2 the server's reason.
extern const QString UploadRemoveFailed;
/// %1 the remote folder, %2 how many names, %3 the first names.
extern const QString UploadTestFound;
/// %1 the remote folder.
extern const QString UploadTestEmpty;
extern const QString UploadSending;
extern const QString ServerSettingsUnsaveable;
extern const QString UploadConnecting;
extern const QString UploadRemoving;

} // namespace kelvano::Messages
