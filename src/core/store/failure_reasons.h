#pragma once

#include <QString>

// Why a file could not be read or written, as the store reports it beside the file's path: the reasons of
// the system's error numbers and of the faults the store finds itself. The sentences around them (which
// table, what was not done) are the window's and kelvano-publish's, in words/ and their own folders.

namespace kelvano::Messages {

// The system's error numbers
extern const QString NoSuchFileOrFolder;
extern const QString PermissionDenied;
extern const QString DiskFull;
extern const QString FileTooLarge;
extern const QString ReadOnlyFileSystem;
extern const QString NameTooLong;
extern const QString NotAFolder;
extern const QString IsAFolder;
extern const QString LinkLoop;
extern const QString NotAPlainFile;
/// A file read twice that no longer holds what the first reading saw.
extern const QString FileChangedSinceRead;
extern const QString DeviceError;
extern const QString AlreadyThere;
extern const QString UnknownIoReason;

// Faults the store finds in its own files
extern const QString ReadPastEnd;
extern const QString WritePastEnd;
extern const QString IncompleteLastRecord;
/// %1 the size of TAVELO.DAT, %2 the size of its record.
extern const QString SettingsFileShort;
/// A stored file name that would reach outside its folder.
extern const QString FileNameUnusable;

} // namespace kelvano::Messages
