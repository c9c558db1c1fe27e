#include "dialogs/error_report.h"

#include <cstdio>

namespace tessarin {

namespace {

std::function<void(const QString&)>& errorDisplay() {
    static std::function<void(const QString&)> display;
    return display;
}

} // namespace

void setErrorDisplay(std::function<void(const QString& message)> display) {
    errorDisplay() = std::move(display);
}

void reportError(const QString& message) {
    if (const auto& display = errorDisplay()) {
        display(message);
        return;
    }
    std::fprintf(stderr, "tessarin: %s\n", message.toLocal8Bit().constData());
}

} // namespace tessarin
