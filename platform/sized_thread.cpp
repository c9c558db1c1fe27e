#include "platform/sized_thread.h"

#include <algorithm>
#include <climits>
#include <system_error>
#include <utility>

namespace tessarin {

namespace {

// Frees the attributes on every way out of the constructor.
class ThreadAttributes {
public:
    ThreadAttributes() {
        if (const int error = ::pthread_attr_init(&attributes_); error != 0) {
            throw std::system_error(error, std::generic_category(), "pthread_attr_init");
        }
    }
    ~ThreadAttributes() { ::pthread_attr_destroy(&attributes_); }
    ThreadAttributes(const ThreadAttributes&) = delete;
    ThreadAttributes& operator=(const ThreadAttributes&) = delete;

    [[nodiscard]] pthread_attr_t* get() { return &attributes_; }

private:
    pthread_attr_t attributes_{};
};

} // namespace

SizedThread::SizedThread(std::function<void()> work, std::size_t stackBytes)
    : work_(std::move(work)) {
    ThreadAttributes attributes;
    const std::size_t size = std::max<std::size_t>(stackBytes, PTHREAD_STACK_MIN);
    if (const int error = ::pthread_attr_setstacksize(attributes.get(), size); error != 0) {
        throw std::system_error(error, std::generic_category(), "pthread_attr_setstacksize");
    }
    if (const int error = ::pthread_create(&thread_, attributes.get(), &SizedThread::run, this);
        error != 0) {
        throw std::system_error(error, std::generic_category(), "pthread_create");
    }
}

SizedThread::~SizedThread() {
    ::pthread_join(thread_, nullptr);
}

void* SizedThread::run(void* self) {
    static_cast<SizedThread*>(self)->work_();
    return nullptr;
}

} // namespace tessarin
