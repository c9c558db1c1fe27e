// The viewer's entry point: the application, the main window with the command line,
// then the mapping dialog and the about box, kept until the program ends.
//
// Exit status: 0 after the window was closed; 1 when start-up failed (the message is
// shown and printed on standard error); 128 + the signal number after SIGINT, SIGTERM
// or SIGHUP, which close the window (and so delete its temporary file) first.

#include "app/about_box.h"
#include "app/main_form.h"
#include "app/termination_signals.h"
#include "app/tessarin_application.h"
#include "dialogs/vram_map_dialog.h"

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
    TTessarinApplication application(argc, argv);
    int caughtSignal = 0;
    // Leaves every event loop, a modal dialog's too; the window is closed below.
    const TTerminationSignals terminationSignals([&caughtSignal](int signal) {
        caughtSignal = signal;
        QCoreApplication::exit();
    });

    std::unique_ptr<TfrmMainForm> frmMainForm;
    std::unique_ptr<TdlgDlgVRAMMap> dlgDlgVRAMMap;
    std::unique_ptr<TdlgAboutBox> dlgAboutBox;
    try {
        // argv as the system gave it, after Qt took its own options out.
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        frmMainForm = std::make_unique<TfrmMainForm>(arguments);
        dlgDlgVRAMMap = std::make_unique<TdlgDlgVRAMMap>();
        dlgAboutBox = std::make_unique<TdlgAboutBox>();
    } catch (const std::exception& error) {
        application.ShowException(QString::fromLocal8Bit(error.what()));
        return kStartupFailed;
    }
    frmMainForm->dlgDlgVRAMMap = dlgDlgVRAMMap.get();
    frmMainForm->dlgAboutBox = dlgAboutBox.get();

    centreOnScreen(*frmMainForm);
    frmMainForm->show();
    const int status = QApplication::exec();
    // Runs FormClose when a signal, not the window, ended the loop.
    frmMainForm->close();
    return caughtSignal != 0 ? kSignalStatusBase + caughtSignal : status;
}
