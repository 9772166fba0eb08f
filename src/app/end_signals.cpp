#include "app/end_signals.h"

#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace kelvano {
namespace {

// The two ends of the socket pair: the handler writes to the first, the event loop reads the second.
std::array<int, 2> sockets = {-1, -1};
constexpr std::array<int, 3> EndingSignals = {SIGTERM, SIGINT, SIGHUP};

void onEndingSignal(int) {
    const char byte = 1;
    // Nothing more is safe in a signal handler; a full socket already carries a request.
    [[maybe_unused]] const ssize_t written = ::write(sockets[0], &byte, 1);
}

} // namespace

EndSignals::EndSignals(QObject* parent) : QObject(parent) {
    if (sockets[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, sockets.data()) != 0) {
        return;
    }
    m_notifier = new QSocketNotifier(sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(sockets[1], &byte, 1);
        emit endRequested();
    });
    struct sigaction action = {};
    action.sa_handler = onEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : EndingSignals) {
        sigaction(signal, &action, nullptr);
    }
}

EndSignals::~EndSignals() {
    for (const int signal : EndingSignals) {
        std::signal(signal, SIG_DFL);
    }
}

} // namespace kelvano
