#pragma once
// A recording read in place: the file mapped read-only, its chunks walked
// as the wave loader walks them, and the samples left where they are, so
// the commands read them without a copy and the export can copy pieces
// file to file. Owns the open file and the mapping for its lifetime.
#include "Exception.h"
#include "SampleView.h"

#include <QString>

#include <cstdint>
#include <string>

class TZuWave;

// The file could not be opened or mapped, or is no regular file. The
// message is the reason alone, in the system's words where it has some.
class ERecordingUnreadable : public Exception {
public:
    using Exception::Exception;
};

class TMappedRecording {
public:
    // Opens without waiting for anything: a pipe, device or socket is
    // refused, never read. While open the file holds a shared lock, so the
    // wave library's own opens (which lock exclusively) do not write it
    // meanwhile. Raises ERecordingUnreadable, or the loader's errors for an
    // image the loader would refuse.
    explicit TMappedRecording(const QString &FileName);
    // The same for a name's bytes, which need not be UTF-8.
    explicit TMappedRecording(const std::string &Path);
    TMappedRecording(const TMappedRecording &) = delete;
    TMappedRecording &operator=(const TMappedRecording &) = delete;

    // Format and samples as the loader would hold them; FileHandle and
    // FileOffset name the samples in the open file. Valid while this lives.
    const TSampleView &View() const { return FView; }
    int Handle() const { return FFile.Handle; }
    // Loads Wave from the file's bytes, exactly as Wave.LoadFromFile would,
    // for commands that change the samples.
    void LoadInto(TZuWave &Wave) const;

private:
    struct TFile {
        int Handle = -1;
        ~TFile();
    };
    struct TMapping {
        void *Address = nullptr;
        std::int64_t Length = 0;
        ~TMapping();
    };
    // The image the chunk walk and the loader read: the mapping, or for an
    // empty file an empty image that is still not null.
    const std::uint8_t *Image() const;

    TFile FFile;
    TMapping FMapping;
    TSampleView FView;
};
