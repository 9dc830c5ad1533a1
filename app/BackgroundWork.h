#pragma once
// Long work (detection, export) off the window's thread, so the windows
// keep painting. While it runs the window's thread waits in an event loop:
// at first without the user's input, and after a moment behind a modal
// progress dialog with Cancel, which blocks every other window, so no
// command can change the recording under the work.
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <exception>
#include <mutex>

class QWidget;

// Raised by work that stops because Cancel was pressed.
class EWorkCancelled : public std::exception {
public:
    const char *what() const noexcept override { return "cancelled"; }
};

// What the work and the window's thread share.
class TBackgroundWork {
public:
    // From the work: how far it has come (0..1).
    void Report(double Share) { FShare.store(Share); }
    // From the work: what it is doing, when that changes (e.g. it waits for
    // a folder); empty for the dialog's first text.
    void Say(const QString &Text);
    // True once the user pressed Cancel; the work should stop soon.
    bool Cancelled() const { return FCancelled.load(); }

    // How long the work goes without a dialog; tests shorten it.
    static std::chrono::milliseconds QuietTime;

private:
    friend bool RunInBackground(QWidget *, const QString &, const std::function<void(TBackgroundWork &)> &);
    std::atomic<double> FShare{0.0};
    std::atomic<bool> FCancelled{false};
    mutable std::mutex FTextLock;
    QString FText;
    bool FTextNew = false;
};

// True while RunInBackground runs: what would replace the recording under
// the work (a file dropped meanwhile) waits until it ends.
bool BackgroundWorkRunning();

// Runs Work on a thread of its own, showing Text in the progress dialog.
// True when Work ended normally; false when the user cancelled (an error
// that Work then raised is the cancel's); Work's other errors are raised
// here, on the window's thread.
bool RunInBackground(QWidget *Parent, const QString &Text, const std::function<void(TBackgroundWork &)> &Work);
