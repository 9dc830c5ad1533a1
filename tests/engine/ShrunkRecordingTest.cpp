// A recording that another program cuts shorter while it is read in place:
// the kernel answers reads past the new end with SIGBUS (mapping) or short
// copies, and either must become this recording's error, never a signal
// that ends the process or a piece that is quietly short.
#include "engine/ExportFolder.h"
#include "engine/MappedReads.h"
#include "engine/MappedRecording.h"
#include "engine/TrimDetection.h"
#include "WavBuilder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace wavtest;

TEST(ShrunkRecording, DetectionAndExportReportTheFileInsteadOfDying)
{
    // Loud and silent stretches over a few megabytes, so the data spans
    // many pages past the point the file is cut at.
    std::vector<std::int16_t> Values;
    for (int Piece = 0; Piece < 40; ++Piece) {
        Values.insert(Values.end(), 20000, 0);
        for (int I = 0; I < 30000; ++I)
            Values.push_back(std::int16_t(I % 2 ? 9000 : -9000));
    }
    QTemporaryDir Dir;
    const std::string Path = Dir.filePath("take.wav").toStdString();
    WriteFileBytes(Path, PcmFile(1, 44100, 16, Samples16(Values)));
    TMappedRecording Recording(Path);
    const TSampleView &View = Recording.View();
    const std::vector<TTrimArea> Areas = DetectTrimAreas(View, TTrimSettings{});
    ASSERT_EQ(Areas.size(), 40u);

    ASSERT_EQ(::truncate(Path.c_str(), 4096), 0);
    std::vector<TTrimArea> Again;
    std::int32_t Count = 0;
    try {
        ReadMapped([&] { DetectTrimAreas(View, TTrimSettings{}, Again, Count); });
        ADD_FAILURE() << "detection read past the file's end without a word";
    } catch (const ERecordingUnreadable &Error) {
        EXPECT_NE(std::string(Error.what()).find("became shorter"), std::string::npos) << Error.what();
    }

    const std::string Folder = Dir.filePath("pieces").toStdString();
    try {
        WriteExportFolder({View, Areas.data(), std::int32_t(Areas.size()), Folder, {}, {}, {}});
        ADD_FAILURE() << "pieces past the file's end were written";
    } catch (const EExportReadFailed &Error) {
        EXPECT_TRUE(Error.Reason.contains("became shorter")) << Error.Reason.toStdString();
    }
    // Only whole pieces from before the cut remain, and no temporary file.
    for (const QString &Name : QDir(QString::fromStdString(Folder)).entryList(QDir::Files | QDir::Hidden))
        EXPECT_TRUE(Name == "WAVE00.wav") << Name.toStdString();
}
