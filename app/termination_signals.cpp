#include "app/termination_signals.h"

#include "platform/target_file.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array kSignals{SIGINT, SIGTERM, SIGHUP};

// How long the event loop has to take a signal up; a viewer busy longer (listing a huge
// folder) ends without closing its window.
constexpr unsigned kGraceSeconds = 2;

// [0] written by the handler, [1] read by the event loop.
int signalSocket[2] = {-1, -1};
volatile std::sig_atomic_t pendingSignal = 0;

extern "C" void writeSignal(int signal) {
    const int savedErrno = errno;
    const auto number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &number, 1);
    pendingSignal = signal;
    ::alarm(kGraceSeconds);
    errno = savedErrno;
}

// The event loop did not take the signal up in time.
extern "C" void endNow(int) {
    tessarin::removeScratchFilesInProgress();
    ::_exit(kSignalStatusBase + pendingSignal);
}

void setHandler(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0) {
        throw std::runtime_error("Cannot create the socket pair for signals");
    }
    notifier_ = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    for (const int signal : kSignals) {
        setHandler(signal, writeSignal);
    }
    setHandler(SIGALRM, endNow);
}

TerminationSignals::~TerminationSignals() {
    ::alarm(0);
    for (const int signal : kSignals) {
        setHandler(signal, SIG_DFL);
    }
    setHandler(SIGALRM, SIG_DFL);
    delete notifier_;
    ::close(signalSocket[0]);
    ::close(signalSocket[1]);
    signalSocket[0] = signalSocket[1] = -1;
}

void TerminationSignals::readSignal() {
    unsigned char number = 0;
    if (::read(signalSocket[1], &number, 1) == 1) {
        ::alarm(0); // taken up: the window closes as the user would close it
        onSignal_(number);
    }
}
