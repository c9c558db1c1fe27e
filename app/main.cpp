// The viewer's entry point: the command line, the application and the main window with
// the files named (its dialogs are made at their first use).
//
// Exit status: 0 after the window was closed, or after --help or --version; 1 when
// start-up failed (the message is shown and printed on standard error); 2 for an unknown
// option; 128 + the signal number after SIGINT, SIGTERM or SIGHUP, which close the window
// (and so remember its view) first.

#include "app/main_window.h"
#include "app/termination_signals.h"
#include "app/tessarin_application.h"
#include "app/viewer_usage.h"
#include "platform/name_locale.h"

#include <QScreen>
#include <QTimer>
#include <QtGlobal>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kStartupFailed = 1;
constexpr int kUnknownOption = 2;

const std::string kHelpOption = "--help";
const std::string kVersionOption = "--version";
const std::string kEndOfOptions = "--";

// What the command line asks for: the files to open, or an exit status once printed.
struct CommandLine {
    std::vector<std::string> files;
    std::optional<int> exitStatus;
};

// Reads the arguments after the program name; prints help, version or the error.
CommandLine parseCommandLine(int argc, char** argv) {
    CommandLine result;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (options && argument == kEndOfOptions) {
            options = false;
        } else if (options && argument == kHelpOption) {
            std::fputs(tessarin::viewerUsage().c_str(), stdout);
            result.exitStatus = 0;
            return result;
        } else if (options && argument == kVersionOption) {
            std::printf("tessarin %s\n", TESSARIN_VERSION);
            result.exitStatus = 0;
            return result;
        } else if (options && argument.starts_with('-')) {
            std::fprintf(stderr, "tessarin: unknown option %s\n", argument.c_str());
            result.exitStatus = kUnknownOption;
            return result;
        } else {
            result.files.push_back(argument);
        }
    }
    return result;
}

// Qt ends a start-up it cannot make (no display to connect to) with a fatal message,
// which aborts and dumps core; the viewer says so and exits with status 1 instead.
QtMessageHandler qtMessages = nullptr;

void exitOnFatalStartUp(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    qtMessages(type, context, message);
    if (type == QtFatalMsg) {
        std::fputs("tessarin: cannot start: no window system to show the window on\n", stderr);
        std::_Exit(kStartupFailed);
    }
}

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN); // a closed pipe fails the write instead of ending the viewer
    const CommandLine commandLine = parseCommandLine(argc, argv);
    if (commandLine.exitStatus) {
        return *commandLine.exitStatus;
    }
    // Qt sees the program name only: every argument is ours, "-reverse" a file name too.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    qtMessages = qInstallMessageHandler(exitOnFatalStartUp);
    TessarinApplication application(qtArgc, qtArgv);
    qInstallMessageHandler(qtMessages);
    tessarin::useUtf8Names(); // after Qt, which sets the locale of the environment
    int caughtSignal = 0;
    // Leaves every event loop, a modal dialog's too; the window is closed below.
    const TerminationSignals terminationSignals([&caughtSignal](int signal) {
        caughtSignal = signal;
        QCoreApplication::exit();
    });

    std::unique_ptr<MainWindow> mainWindow;
    try {
        mainWindow = std::make_unique<MainWindow>(commandLine.files);
    } catch (const std::exception& error) {
        application.showError(QString::fromLocal8Bit(error.what()));
        return kStartupFailed;
    }

    if (const QScreen* screen = mainWindow->screen()) {
        mainWindow->restoreView(screen->availableGeometry());
    }
    mainWindow->show();
    // Names that could not be opened, all in one message once the window is up.
    if (const QStringList errors = mainWindow->startUpErrors(); !errors.isEmpty()) {
        QTimer::singleShot(0, &application, [&application, errors] {
            application.showError(errors.join(QLatin1Char('\n')));
        });
    }
    const int status = QApplication::exec();
    // Runs closeDocument when a signal, not the window, ended the loop.
    mainWindow->close();
    return caughtSignal != 0 ? kSignalStatusBase + caughtSignal : status;
}
