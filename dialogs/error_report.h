#pragma once

#include <QString>
#include <exception>
#include <functional>
#include <utility>

namespace tessarin {

// Where the viewer's errors are shown; the application sets it once (tests replace it).
void setErrorDisplay(std::function<void(const QString& message)> display);

// Shows message through the display set, or on standard error before one is.
void reportError(const QString& message);

// Runs action and reports what it throws instead of passing it on: every command, drop
// and dialog handler runs its work through this, because Qt's own frames must never be
// unwound by an exception. True when action completed.
template <typename Action> bool reportErrors(Action&& action) noexcept {
    try {
        std::forward<Action>(action)();
        return true;
    } catch (const std::exception& error) {
        reportError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        reportError(QStringLiteral("An unknown error occurred."));
    }
    return false;
}

} // namespace tessarin
