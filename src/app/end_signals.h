#pragma once

#include <QObject>

class QSocketNotifier;

namespace kelvano {

/// Turns the system's requests to end (SIGTERM, SIGINT, SIGHUP) into a signal on the GUI thread. The
/// handler itself only writes a byte to a socket that the event loop watches.
class EndSignals : public QObject {
    Q_OBJECT

public:
    explicit EndSignals(QObject* parent = nullptr);
    ~EndSignals() override;

signals:
    void endRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace kelvano
