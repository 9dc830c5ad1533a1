// Time of one full paint of the waveform view at the designed size, for a
// 1-second, a 1-hour and a 3-hour 16-bit stereo recording, at the closest
// and the designed widest horizontal zoom and zoomed out to the whole
// recording. A paint reads the envelope of each column from the peak levels
// built at the load, so the figures should not grow with the recording's
// length; the load's own time (reading the file, building the levels) is
// shown beside it.
//
//   paint-bench [--paints N] [--dir DIR]
#include "app/Unit1.h"

#include "app/LevelReading.h"
#include "app/PaintBox.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

void PutU32(std::ofstream &Out, std::uint32_t Value)
{
    const char Bytes[4] = {char(Value), char(Value >> 8), char(Value >> 16), char(Value >> 24)};
    Out.write(Bytes, 4);
}

void PutU16(std::ofstream &Out, std::uint16_t Value)
{
    const char Bytes[2] = {char(Value), char(Value >> 8)};
    Out.write(Bytes, 2);
}

// 16-bit stereo at 44100 Hz: a tone whose loudness swells and fades every
// few seconds, the right channel a little quieter.
void WriteRecording(const std::string &Path, std::uint32_t Seconds)
{
    const std::uint32_t Rate = 44100;
    const std::uint32_t Frames = Seconds * Rate;
    const std::uint32_t DataBytes = Frames * 4;
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out.write("RIFF", 4);
    PutU32(Out, 36 + DataBytes);
    Out.write("WAVEfmt ", 8);
    PutU32(Out, 16);
    PutU16(Out, 1);
    PutU16(Out, 2);
    PutU32(Out, Rate);
    PutU32(Out, Rate * 4);
    PutU16(Out, 4);
    PutU16(Out, 16);
    Out.write("data", 4);
    PutU32(Out, DataBytes);

    // One second of the tone, reused: the file is written at disk speed.
    std::vector<double> Tone(Rate);
    for (std::uint32_t I = 0; I < Rate; ++I)
        Tone[I] = std::sin(2 * std::numbers::pi * 440 * I / Rate);
    std::vector<std::int16_t> Block;
    Block.reserve(2 * Rate);
    for (std::uint32_t First = 0; First < Frames; First += Rate) {
        Block.clear();
        for (std::uint32_t I = First; I < std::min(First + Rate, Frames); ++I) {
            const double Envelope = 0.5 + 0.5 * std::sin(2 * std::numbers::pi * (I / 4410) / 50);
            const double Sample = Envelope * Tone[I - First];
            Block.push_back(static_cast<std::int16_t>(30000 * Sample));
            Block.push_back(static_cast<std::int16_t>(20000 * Sample));
        }
        Out.write(reinterpret_cast<const char *>(Block.data()), std::streamsize(Block.size() * 2));
    }
    if (!Out)
        throw std::runtime_error("cannot write " + Path);
}

struct TFigures {
    double Median;
    double Mean;
    double Max;
};

template <typename TPaint> TFigures Time(TPaint Paint, int Paints)
{
    for (int I = 0; I < 20; ++I)
        Paint();
    std::vector<double> Milliseconds;
    Milliseconds.reserve(std::size_t(Paints));
    for (int I = 0; I < Paints; ++I) {
        const auto Start = std::chrono::steady_clock::now();
        Paint();
        const auto End = std::chrono::steady_clock::now();
        Milliseconds.push_back(std::chrono::duration<double, std::milli>(End - Start).count());
    }
    std::sort(Milliseconds.begin(), Milliseconds.end());
    double Sum = 0;
    for (double Value : Milliseconds)
        Sum += Value;
    return {Milliseconds[Milliseconds.size() / 2], Sum / double(Milliseconds.size()), Milliseconds.back()};
}

int VisibleAreas(TForm1 &Form)
{
    const std::int64_t First = Form.SB->value();
    const std::int64_t Last = First + std::int64_t(Form.PB->width()) * Form.SBHZ->value();
    int Count = 0;
    for (const TTrimArea &Area : Form.FAreas)
        Count += Area.StartPos < Last && Area.EndPos > First;
    return Count;
}

void Report(const char *What, const TFigures &Figures)
{
    std::printf("    %-24s median %.3f ms, mean %.3f ms, max %.3f ms\n", What, Figures.Median, Figures.Mean,
                Figures.Max);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication Application(argc, argv);
    int Paints = 500;
    QString Directory;
    for (int I = 1; I + 1 < argc; I += 2) {
        if (std::strcmp(argv[I], "--paints") == 0)
            Paints = std::max(1, std::atoi(argv[I + 1]));
        else if (std::strcmp(argv[I], "--dir") == 0)
            Directory = QString::fromLocal8Bit(argv[I + 1]);
    }
    QTemporaryDir Temporary(Directory.isEmpty() ? QDir::tempPath() + QStringLiteral("/paint-bench-XXXXXX")
                                                : Directory + QStringLiteral("/paint-bench-XXXXXX"));
    if (!Temporary.isValid()) {
        std::fprintf(stderr, "paint-bench: no temporary directory\n");
        return 1;
    }

    TForm1 Form;
    Form.ShowError = [](const QString &Text) { std::fprintf(stderr, "error: %s\n", qPrintable(Text)); };
    Form.show();
    Application.processEvents();
    std::printf("view %d x %d, %d paints each\n", Form.PB->width(), Form.PB->height(), Paints);

    for (const std::uint32_t Seconds : {1u, 3600u, 10800u}) {
        const QString Path = Temporary.filePath(QStringLiteral("rec-%1s.wav").arg(Seconds));
        WriteRecording(Path.toStdString(), Seconds);
        Form.RunOpenDialog = [Path]() -> std::optional<QString> { return Path; };
        const auto LoadStart = std::chrono::steady_clock::now();
        Form.FileOpen();
        // A long recording's levels are read on a thread of their own.
        while (Form.FLevelReading && !Form.FLevelReading->Ended())
            Application.processEvents(QEventLoop::AllEvents, 5);
        const double LoadMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - LoadStart).count();
        std::printf("%u s recording loaded with its peak levels in %.0f ms\n", Seconds, LoadMs);
        // Some trim areas in sight, as after a detection.
        Form.FAreas.clear();
        for (std::int32_t Start = 0; Start < Form.ZU->GetWaveSize(); Start += 44100)
            Form.FAreas.push_back({Start, Start + 30000});
        Form.FAreaCount = std::int32_t(Form.FAreas.size());
        // 0: the whole recording, as its menu command shows it.
        for (const int Zoom : {1, 2000, 0}) {
            if (Zoom == 0) {
                Form.WaveView->ShowWholeRecording();
                std::printf("%u s recording, whole recording (zoom %d), %d trim areas in sight\n", Seconds,
                            Form.SBHZ->value(), VisibleAreas(Form));
            } else {
                Form.SBHZ->setValue(Zoom);
                // The middle of the recording, with the view full where it is long enough.
                const std::int64_t Span = std::int64_t(Form.PB->width()) * Zoom;
                Form.SB->setValue(int(std::max<std::int64_t>(0, (Form.ZU->GetWaveSize() - Span) / 2)));
                std::printf("%u s recording, zoom %d, %d trim areas in sight\n", Seconds, Zoom,
                            VisibleAreas(Form));
            }
            // Through the window system, as a scroll bar's change asks for it.
            Report("repaint at once:", Time([&] { Form.PB->repaint(); }, Paints));
            // The view's own drawing alone, into an image of the panel's black.
            QImage Image(Form.PB->size(), QImage::Format_RGB32);
            Report("render into an image:", Time([&] {
                       Image.fill(Qt::black);
                       Form.PB->render(&Image, QPoint(), QRegion(), QWidget::RenderFlags());
                   }, Paints));
        }
        Form.SBHZ->setValue(1);
        Form.SB->setValue(0);
        // Only one recording on disk at a time.
        QFile::remove(Path);
    }
    return 0;
}
