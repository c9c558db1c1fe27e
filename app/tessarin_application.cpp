#include "app/tessarin_application.h"

#include "app/program_icon.h"

#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <exception>

namespace {

const QString kApplicationTitle = QStringLiteral("Tessarin");

} // namespace

TessarinApplication::TessarinApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Only the name: a display name would make Qt append " — Tessarin" to every caption.
    setApplicationName(kApplicationTitle);
    setWindowIcon(QIcon(tessarin::programIcon()));
}

bool TessarinApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        showError(QStringLiteral("An unknown error occurred."));
    }
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
