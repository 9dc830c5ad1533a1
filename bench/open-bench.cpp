// Opening a long recording in the window as the user does, from the menu:
// how soon the window paints, how soon the whole waveform is drawn, the
// longest the window's event loop waits meanwhile (a 5 ms timer's widest
// gap: what a user or the window manager's ping would feel), and the
// memory of the program's own (anonymous memory, RssAnon) once it is open,
// which a file read in place keeps far below the file's size.
//
//   build/bench/genwav /tmp/3h.wav --seconds 10800 --bits 16 --channels 2
//   build/bench/open-bench /tmp/3h.wav [--runs N]
//
// Every run opens the file afresh; the page cache is the machine's, so the
// first run of a file not read lately includes reading it from the disk.
#include "app/LevelReading.h"
#include "app/PaintBox.h"
#include "app/Unit1.h"
#include "engine/SampleFormat.h"

#include "ProcessStatus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication Application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: open-bench FILE.wav [--runs N]\n");
        return 2;
    }
    const QString Path = QString::fromLocal8Bit(argv[1]);
    int Runs = 3;
    if (argc >= 4 && std::strcmp(argv[2], "--runs") == 0)
        Runs = std::max(1, std::atoi(argv[3]));

    TForm1 Form;
    Form.ShowError = [](const QString &Text) { std::fprintf(stderr, "error: %s\n", qPrintable(Text)); };
    Form.ShowMessage = Form.ShowError;
    Form.show();
    Application.processEvents();
    std::printf("RssAnon before opening: %ld KiB\n", StatusKiB("RssAnon:"));

    QElapsedTimer Clock;
    qint64 FirstPaint = -1;
    const std::function<void()> Paint = Form.PB->OnPaint;
    Form.PB->OnPaint = [&] {
        Paint();
        if (FirstPaint < 0 && Clock.isValid())
            FirstPaint = Clock.elapsed();
    };
    for (int Run = 0; Run < Runs; ++Run) {
        qint64 Longest = 0;
        long PeakAnon = 0;
        QElapsedTimer Gap;
        QTimer Probe;
        QObject::connect(&Probe, &QTimer::timeout, [&] {
            Longest = std::max(Longest, Gap.restart());
            PeakAnon = std::max(PeakAnon, StatusKiB("RssAnon:"));
        });
        FirstPaint = -1;
        Form.RunOpenDialog = [&]() -> std::optional<QString> {
            Clock.start();
            Gap.start();
            Probe.start(5);
            return Path;
        };
        // As the menu runs it: the event loop turns while the command runs.
        QTimer::singleShot(0, Form.WAV1, &QAction::trigger);
        while (!Clock.isValid() || FirstPaint < 0)
            Application.processEvents(QEventLoop::AllEvents, 5);
        while (Form.FLevelReading && !Form.FLevelReading->Ended())
            Application.processEvents(QEventLoop::AllEvents, 5);
        Form.PB->repaint();
        const qint64 Complete = Clock.elapsed();
        Longest = std::max(Longest, Gap.elapsed());
        Probe.stop();
        std::printf("run %d: %lld frames; first paint %lld ms, waveform complete %lld ms, longest event-loop "
                    "gap %lld ms, RssAnon %ld KiB (peak %ld KiB), RssFile %ld KiB\n",
                    Run + 1, static_cast<long long>(FrameCountOf(Form.Document.RecordingView())), static_cast<long long>(FirstPaint),
                    static_cast<long long>(Complete), static_cast<long long>(Longest), StatusKiB("RssAnon:"),
                    std::max(PeakAnon, StatusKiB("RssAnon:")), StatusKiB("RssFile:"));
        Clock.invalidate();
    }
    return 0;
}
