#pragma once

#include <cstddef>
#include <functional>
#include <pthread.h>

namespace tessarin {

// A thread with a stack of a chosen size. std::thread takes the system's default (8 MiB of
// address space each), which is what a batch of many workers runs out of under a memory
// limit, not the memory it uses.
class SizedThread {
public:
    // Runs work on a new thread with stackBytes of stack (at least the system's minimum).
    // Throws std::system_error when no thread can be made.
    SizedThread(std::function<void()> work, std::size_t stackBytes);
    // Waits for work to return.
    ~SizedThread();
    SizedThread(const SizedThread&) = delete;
    SizedThread& operator=(const SizedThread&) = delete;

private:
    static void* run(void* self);

    std::function<void()> work_;
    pthread_t thread_{};
};

} // namespace tessarin
