#include "export/conversion_gate.h"

#include <atomic>
#include <ctime>
#include <pthread.h>

namespace tessarin::exporter {

namespace {

static_assert(std::atomic<int>::is_always_lock_free, "the signal handler uses the gate");

std::atomic<bool> gateClosed{false};
std::atomic<int> conversionsUnderWay{0};

constexpr long kDrainPollNanoseconds = 100'000;

} // namespace

void blockTerminationSignals() noexcept {
    sigset_t set;
    ::sigemptyset(&set);
    for (const int signal : kTerminationSignals) {
        ::sigaddset(&set, signal);
    }
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

// Counted before the check, so that the handler either sees the count or is seen.
bool enterConversion() noexcept {
    conversionsUnderWay.fetch_add(1);
    if (gateClosed.load()) {
        conversionsUnderWay.fetch_sub(1);
        return false;
    }
    return true;
}

void leaveConversion() noexcept {
    conversionsUnderWay.fetch_sub(1);
}

void closeAndDrainConversions() noexcept {
    gateClosed.store(true);
    const timespec poll{0, kDrainPollNanoseconds};
    while (conversionsUnderWay.load() != 0) {
        ::nanosleep(&poll, nullptr);
    }
}

} // namespace tessarin::exporter
