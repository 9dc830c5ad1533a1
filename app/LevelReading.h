#pragma once
// The envelope levels of a long recording, read on a thread of their own
// after it has been opened, so that the window answers at once: a line over
// the view says whose levels are read and how far, with a button that stops
// the reading (the view then shows what has been read), and the view is
// repainted as the levels arrive.
#include <QFrame>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QLabel;
class QPushButton;
class QTimer;
class TPeakLevels;

class TLevelReading : public QFrame {
public:
    // Reads Levels (made TDeferred) while Keep (what holds the samples)
    // lives; Repaint is called on the window's thread as they arrive, and
    // once more at the end.
    TLevelReading(QWidget *Over, const QString &Name, std::shared_ptr<TPeakLevels> Levels,
                  std::shared_ptr<const void> Keep, std::function<void()> Repaint);
    // Stops the reading and waits for its thread.
    ~TLevelReading() override;
    TLevelReading(const TLevelReading &) = delete;
    TLevelReading &operator=(const TLevelReading &) = delete;

    // The reading has ended: all read, stopped, or failed.
    bool Ended() const { return FEnded.load(); }
    QPushButton *CancelButton() const { return FCancel; }
    QString Line() const;

private:
    void Tick();

    QLabel *FLine = nullptr;
    QPushButton *FCancel = nullptr;
    QTimer *FTimer = nullptr;
    QString FName;
    std::function<void()> FRepaint;
    std::atomic<bool> FStop{false};
    std::atomic<bool> FEnded{false};
    std::atomic<double> FShare{0.0};
    mutable std::mutex FLock;
    QString FFailure;
    std::thread FThread;
};
