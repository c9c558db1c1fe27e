#include "app/tessarin_application.h"

#include "app/program_icon.h"

#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <exception>

namespace {

const QString kApplicationTitle = QStringLiteral("Tessarin");

} // namespace

TTessarinApplication::TTessarinApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Only the name: a display name would make Qt append " — Tessarin" to every caption.
    setApplicationName(kApplicationTitle);
    setWindowIcon(QIcon(tessarin::programIcon()));
}

bool TTessarinApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowException(QStringLiteral("An unknown error occurred."));
    }
    return false;
}

void TTessarinApplication::ShowException(const QString& message) {
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

bool TTessarinApplication::hasDisplay() {
    const QString platform = platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}
