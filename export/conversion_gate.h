#pragma once

// A terminating signal must not end the process while a worker thread has a scratch
// file that the handler cannot see yet. Worker threads block those signals and convert
// each file inside the gate; the handler, on the main thread, closes the gate and waits
// for the conversions under way, whose outputs are then complete.

#include <array>
#include <csignal>

namespace tessarin::exporter {

inline constexpr std::array kTerminationSignals{SIGINT, SIGTERM, SIGHUP};

// Keeps the termination signals away from the calling (worker) thread.
void blockTerminationSignals() noexcept;

// Starts a conversion; false once the gate is closed (the process is ending).
[[nodiscard]] bool enterConversion() noexcept;
void leaveConversion() noexcept;

// Closes the gate and waits until no conversion is under way. Async-signal-safe.
void closeAndDrainConversions() noexcept;

} // namespace tessarin::exporter
