#include "app/BackgroundWork.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <exception>
#include <memory>
#include <thread>

std::chrono::milliseconds TBackgroundWork::QuietTime{1000};

void TBackgroundWork::Say(const QString &Text)
{
    const std::lock_guard<std::mutex> Hold(FTextLock);
    FText = Text;
    FTextNew = true;
}

namespace {

constexpr int Steps = 1000;
bool Running = false;

class TRunning {
public:
    TRunning() { Running = true; }
    ~TRunning() { Running = false; }
    TRunning(const TRunning &) = delete;
    TRunning &operator=(const TRunning &) = delete;
};

// The dialog, shown once the work has run for the quiet time.
class TWorkDialog {
public:
    TWorkDialog(QWidget *Parent, const QString &Text, std::atomic<bool> &Cancelled)
        : FDialog(Text, QCoreApplication::translate("Redivev", "キャンセル"), 0, Steps, Parent), FText(Text),
          FCancelled(Cancelled)
    {
        FDialog.setWindowTitle(QApplication::applicationName());
        FDialog.setWindowModality(Qt::ApplicationModal);
        FDialog.setAutoReset(false);
        FDialog.setAutoClose(false);
        FDialog.setMinimumDuration(0);
        QObject::connect(&FDialog, &QProgressDialog::canceled, [&Cancelled] { Cancelled.store(true); });
        // Enter, typed for the window a moment before the dialog came up,
        // would otherwise press Cancel: only a click, Space or Esc cancels.
        for (QPushButton *Button : FDialog.findChildren<QPushButton *>()) {
            Button->setAutoDefault(false);
            Button->setDefault(false);
        }
        // A wait cursor would hide that Cancel can be pressed.
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        FDialog.show();
    }
    ~TWorkDialog() { QApplication::restoreOverrideCursor(); }
    TWorkDialog(const TWorkDialog &) = delete;
    TWorkDialog &operator=(const TWorkDialog &) = delete;

    void Show(double Share, const QString *Said)
    {
        // Its cancel() called directly says nothing: asked at each tick.
        if (FDialog.wasCanceled())
            FCancelled.store(true);
        if (Said != nullptr)
            FDialog.setLabelText(Said->isEmpty() ? FText : *Said);
        if (!FDialog.wasCanceled())
            FDialog.setValue(static_cast<int>(std::clamp(Share, 0.0, 1.0) * Steps));
    }

private:
    QProgressDialog FDialog;
    QString FText;
    std::atomic<bool> &FCancelled;
};

} // namespace

bool BackgroundWorkRunning()
{
    return Running;
}

bool RunInBackground(QWidget *Parent, const QString &Text, const std::function<void(TBackgroundWork &)> &Work)
{
    const TRunning Marked;
    TBackgroundWork State;
    std::exception_ptr Failure;
    std::atomic<bool> Done{false};
    QEventLoop Loop;
    std::thread Worker([&] {
        try {
            Work(State);
        } catch (...) {
            Failure = std::current_exception();
        }
        Done.store(true);
        QMetaObject::invokeMethod(&Loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    std::unique_ptr<TWorkDialog> Dialog;
    QElapsedTimer Clock;
    Clock.start();
    const auto Update = [&] {
        if (!Dialog && Clock.elapsed() >= TBackgroundWork::QuietTime.count()) {
            Dialog = std::make_unique<TWorkDialog>(Parent, Text, State.FCancelled);
            // Again, now taking the user's input: the dialog blocks the rest.
            Loop.quit();
        }
        if (!Dialog)
            return;
        QString Said;
        bool New = false;
        {
            const std::lock_guard<std::mutex> Hold(State.FTextLock);
            std::swap(New, State.FTextNew);
            Said = State.FText;
        }
        Dialog->Show(State.FShare.load(), New ? &Said : nullptr);
    };
    QTimer Tick;
    Tick.setInterval(50);
    QObject::connect(&Tick, &QTimer::timeout, Update);
    Tick.start();
    Update();
    while (!Done.load())
        Loop.exec(Dialog ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    Worker.join();
    Dialog.reset();

    if (Failure && !State.Cancelled())
        std::rethrow_exception(Failure);
    return !State.Cancelled();
}
