#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

namespace kelvano {

/// The one running copy of the window program per program folder. It holds a lock file in the program
/// folder (KELVANO.LCK) while it runs, so that two copies never write each other's files, and listens
/// on a local socket named after the folder, by which a second start on the same folder brings its
/// window to the front. Copies on different program folders run side by side.
class ProgramInstance : public QObject {
    Q_OBJECT

public:
    explicit ProgramInstance(const QString& programFolder, QObject* parent = nullptr);
    /// Releases the lock.
    ~ProgramInstance() override;

    enum class Start {
        First,                  ///< this copy holds the folder (or no lock can be made there)
        RunningCopyRaised,      ///< a running copy holds the folder and has brought its window forward
        RunningCopyUnreachable, ///< a running copy holds the folder but did not answer
    };
    /// Takes the program folder's lock; when a running copy holds it, asks that copy to show its
    /// window. Needs no application object, so a second start ends before it makes one. A lock left
    /// by a copy that is no longer running is taken over.
    Start claim();
    /// Starts answering later starts (needs the application object); call after claim() gave First.
    void listen();

    /// The lock file's name in the program folder.
    static const QString LockFileName;
    /// The local socket of a program folder: one per user and folder.
    static QString socketPath(const QString& programFolder);

signals:
    /// A second start on this folder asks for the main window.
    void raiseRequested();

private:
    QString m_programFolder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace kelvano
