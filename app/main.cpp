// The viewer's entry point: the application, the main window with the command line,
// then the mapping dialog and the about box, kept until the program ends.
//
// Exit status: 0 after the window was closed; 1 when start-up failed (the message is
// shown and printed on standard error); 128 + the signal number after SIGINT, SIGTERM
// or SIGHUP, which close the window (and so delete its temporary file) first.

#include "app/about_box.h"
#include "app/main_window.h"
#include "app/termination_signals.h"
#include "app/tessarin_application.h"
#include "dialogs/vram_mapping_dialog.h"

#include <QScreen>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kStartupFailed = 1;
constexpr int kSignalStatusBase = 128;

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace

int main(int argc, char** argv) {
    TessarinApplication application(argc, argv);
    int caughtSignal = 0;
    // Leaves every event loop, a modal dialog's too; the window is closed below.
    const TerminationSignals terminationSignals([&caughtSignal](int signal) {
        caughtSignal = signal;
        QCoreApplication::exit();
    });

    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<VramMappingDialog> mappingDialog;
    std::unique_ptr<AboutBox> aboutBox;
    try {
        // argv as the system gave it, after Qt took its own options out.
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        mainWindow = std::make_unique<MainWindow>(arguments);
        mappingDialog = std::make_unique<VramMappingDialog>();
        aboutBox = std::make_unique<AboutBox>();
    } catch (const std::exception& error) {
        application.showError(QString::fromLocal8Bit(error.what()));
        return kStartupFailed;
    }
    mainWindow->mappingDialog = mappingDialog.get();
    mainWindow->aboutBox = aboutBox.get();

    centreOnScreen(*mainWindow);
    mainWindow->show();
    const int status = QApplication::exec();
    // Runs closeDocument when a signal, not the window, ended the loop.
    mainWindow->close();
    return caughtSignal != 0 ? kSignalStatusBase + caughtSignal : status;
}
