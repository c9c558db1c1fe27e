#include "app/tessarin_application.h"

#include "app/program_icon.h"
#include "dialogs/error_report.h"

#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <exception>

namespace {

const QString kApplicationTitle = QStringLiteral("Tessarin");
constexpr int kUncaughtErrorStatus = 1;

} // namespace

TessarinApplication::TessarinApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Only the name: a display name would make Qt append " — Tessarin" to every caption.
    setApplicationName(kApplicationTitle);
    // Desktops match the windows to the desktop entry (and its icon) by this name.
    setDesktopFileName(QStringLiteral(TESSARIN_APP_ID));
    setWindowIcon(QIcon(tessarin::programIcon()));
    tessarin::setErrorDisplay([this](const QString& message) { showError(message); });
}

TessarinApplication::~TessarinApplication() {
    tessarin::setErrorDisplay({});
}

bool TessarinApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        showError(QStringLiteral("An unknown error occurred."));
    }
    // Every handler reports its own errors: one that got here has unwound Qt's frames,
    // whose state is unknown now.
    exit(kUncaughtErrorStatus);
    return false;
}

void TessarinApplication::showError(const QString& message) {
    lastErrorMessage_ = message;
    if (reporter_) {
        reporter_(message);
        return;
    }
    std::fprintf(stderr, "tessarin: %s\n", message.toLocal8Bit().constData());
    if (hasDisplay()) {
        QMessageBox::critical(activeWindow(), kApplicationTitle, message);
    }
}

bool TessarinApplication::hasDisplay() {
    const QString platform = platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}
