#pragma once

#include <QApplication>
#include <QString>
#include <functional>

// The application object: it shows the errors the window and the dialogs report, and its
// notify() is the last resort for one that escaped them: shown, then the event loop ends
// with status 1.
class TessarinApplication : public QApplication {
    Q_OBJECT

public:
    using ErrorReporter = std::function<void(const QString& message)>;

    // Sets the application title "Tessarin" and the program icon.
    TessarinApplication(int& argc, char** argv);
    ~TessarinApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows message as the program's error: through the reporter when one is set,
    // otherwise on standard error and, with a display to show it on, in a message box.
    void showError(const QString& message);
    // Replaces the display of errors (tests record them instead of showing a box).
    void setErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }
    // The last message showError was given; empty before the first.
    [[nodiscard]] const QString& lastErrorMessage() const { return lastErrorMessage_; }

    // False on the platforms that show nothing (offscreen, minimal): a modal box there
    // would wait for a click that never comes.
    [[nodiscard]] static bool hasDisplay();

private:
    ErrorReporter reporter_;
    QString lastErrorMessage_;
};
