#pragma once
// A recording read in place: a WAV, RF64 or Wave64 file mapped read-only,
// its headers read first, and the samples left where they are, so the
// commands read them without a copy and the export can copy pieces file to
// file; a FLAC file decoded into an unlinked temporary file and mapped the
// same way, so that even hours of it cost page cache the kernel can drop
// rather than memory of the program's own. Owns the open files, the
// mappings and any copied block for its lifetime.
#include "engine/RecordingFile.h"
#include "engine/SampleView.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TFlacStream;
class TZuWave;

class TMappedRecording {
public:
    // Opens without waiting for anything: a pipe, device or socket is
    // refused, never read. While open the file holds a shared lock, so the
    // wave library's writes (which lock exclusively) do not change it
    // meanwhile, while other readers read it too. A file that is not one of the formats read is refused from
    // its first bytes. Raises ERecordingUnreadable.
    // Writable maps the samples copy-on-write: ChangeSamples may change
    // them, and only the pages written become memory of the program's own.
    enum class TAccess { ReadOnly, Writable };
    // Streamed (read-only recordings): a FLAC file whose header states its
    // length is decoded a stretch at a time as its samples are asked for
    // (FlacStream.h), without a temporary file; the view then has a source,
    // and Verify checks the stream whole.
    enum class TFlac { Whole, Streamed };
    explicit TMappedRecording(const QString &FileName, TAccess Access = TAccess::ReadOnly);
    // The same for a name's bytes, which need not be UTF-8.
    // Stop, when given, is asked now and then while a FLAC file is decoded
    // whole: true ends the decoding with ERecordingUnreadable.
    explicit TMappedRecording(const std::string &Path, TAccess Access = TAccess::ReadOnly,
                              TFlac Flac = TFlac::Whole, const std::function<bool()> &Stop = {});
    TMappedRecording(const TMappedRecording &) = delete;
    TMappedRecording &operator=(const TMappedRecording &) = delete;
    ~TMappedRecording();

    // Format and samples as the loader would hold them; FileHandle and
    // FileOffset name the samples in an open file (for FLAC, the decoded
    // copy). Valid while this lives.
    const TSampleView &View() const { return FView; }
    int Handle() const { return FFile.Handle; }
    // Loads Wave from the file's bytes without a copy: Wave's block is this
    // mapping's data chunk, and Wave keeps Self (this object) alive while it
    // holds it. Writable recordings only, so that Wave's writes change the
    // mapping, not the file.
    static void LoadInPlace(const std::shared_ptr<TMappedRecording> &Self, TZuWave &Wave);
    // The samples for changing in place (Writable recordings): the file is
    // never written, and from now on the view names no file, so pieces are
    // copied from memory.
    std::uint8_t *ChangeSamples();
    // A copy of the samples in memory, for commands that change them; the
    // view then names the copy. A file shortened meanwhile raises.
    void CopyIntoMemory();
    // Drops the mapped samples before byte Bytes of the view from this
    // process's resident set, so that a scan of a recording larger than
    // memory leaves behind it only page cache the kernel may reclaim, not
    // pages a job's memory limit counts. A later read of them maps them
    // again from the file. A copy in memory, or a writable mapping, is
    // never dropped.
    void ReleaseBefore(std::int64_t Bytes) const;
    // Another program has shortened the file since it was opened, under
    // samples still read from it: reads there find zeros, not the
    // recording (or found them, should it have grown again since). False
    // for samples copied into memory first and for a FLAC file's decoded
    // copy, which are whole whatever becomes of the file.
    bool Shrank() const;
    // A streamed FLAC recording decoded to its end and checked as
    // DecodeFlac checks it (raises EFlacError); anything else is checked
    // already.
    void Verify() const;

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
    // The file's bytes: the mapping, or for an empty file an empty image
    // that is still not null.
    const std::uint8_t *Image() const;
    // A FLAC file's samples, decoded whole into FDecoded and mapped.
    void Decode(const std::function<bool()> &Stop);
    // Or decoded as they are asked for; false when the stream's length is
    // known only by decoding it.
    bool Stream();

    TAccess FAccess;
    TFile FFile;
    TMapping FMapping;
    std::unique_ptr<TFlacStream> FStream; // a FLAC file decoded as it is read
    TFile FDecoded; // the unlinked file a FLAC file is decoded into
    TMapping FDecodedMapping;
    std::vector<std::uint8_t> FSamples; // copied samples, when not read in place
    bool FCopied = false;               // the samples are FSamples, or were
    std::int64_t FDataEnd = 0;          // where the samples end in the file
    TSampleView FView;
};
