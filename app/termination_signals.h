#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// The exit status of a viewer a signal ended: 128 + the signal, as the shell gives it.
inline constexpr int kSignalStatusBase = 128;

// Turns SIGINT, SIGTERM and SIGHUP into a call of onSignal(signal number) from the event
// loop, where the program can close its window as the user would. The handlers only write
// the number to a socket pair; a viewer whose event loop does not take it up within a few
// seconds (a long listing) exits with kSignalStatusBase + the signal, its scratch files
// removed. Only one instance may exist.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(std::function<void(int)> onSignal, QObject* parent = nullptr);
    // Puts the default handling of the three signals back.
    ~TerminationSignals() override;

private:
    void readSignal();

    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_;
};
