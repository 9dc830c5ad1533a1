#pragma once
// Writing trim areas as WAVE00.wav, WAVE01.wav, ... (.flac for a FLAC
// recording) into an export folder. Each file is written under a temporary
// name in the folder and renamed into place when complete, so a link at a
// file's name is replaced, never followed; a file that fails keeps its old
// contents; a crash leaves at most a temporary file, which the next export
// removes. The export's record (ExportRecord.h) names what it wrote, so the
// next export removes the files of this one that it does not write again,
// and nothing else. One export at a time per folder: the loop holds a lock
// on the folder.
#include "engine/ExportRecord.h"
#include "engine/PieceConversion.h"
#include "engine/SampleView.h"
#include "engine/TrimArea.h"
#include "platform/Exception.h"
#include "platform/FileIdentity.h"
#include "platform/FolderWriter.h"

#include <QFile>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#include <sys/types.h>

// One of the export's names is a recording's own file, or another file the
// job keeps. Nothing was written.
class EExportOverwritesRecording : public Exception {
public:
    explicit EExportOverwritesRecording(const std::string &FileName, const std::string &KeptName = {})
        : Exception("export would replace the open recording: " + FileName), Path(QFile::decodeName(FileName.c_str())),
          FilePath(FileName), Kept(KeptName)
    {
    }
    QString Path;         // for showing
    std::string FilePath; // the name's bytes
    std::string Kept;     // the name the kept file was given, when known
};

// A file (or the folder) could not be written; files before it stay.
class EExportFailed : public Exception {
public:
    EExportFailed(const std::string &FileName, const QString &Why)
        : Exception(FileName + ": " + Why.toStdString()), Path(QFile::decodeName(FileName.c_str())),
          FilePath(FileName), Reason(Why)
    {
    }
    QString Path;         // the file or folder that failed, for showing
    std::string FilePath; // its bytes
    QString Reason;       // the system's words, e.g. "No space left on device"
};

// An export that failed at the recording, not at the folder: a piece whose
// samples could not be read from it (a file that shrank, an area beyond its
// end). Path is the piece that was being written.
class EExportReadFailed : public EExportFailed {
public:
    using EExportFailed::EExportFailed;
};

// Folder + "/WAVE" + Index with at least two digits + the extension of
// the kind of file a piece of Recording is: ".wav", or ".flac" for a FLAC
// recording, whose pieces are FLAC too.
QString ExportFileName(const QString &Folder, std::int32_t Index, const TSampleView &Recording = {});

struct TExportJob {
    TSampleView Recording;
    const TTrimArea *Areas = nullptr;
    std::int32_t Count = 0;
    // The path's bytes (QFile::encodeName of a name the user chose);
    // created when missing, with its parents; a link to a folder is followed.
    std::string Folder;
    // Files no piece, label file or record may replace: the recording's,
    // and in a run over several recordings every one of them, and every
    // other file the run reads or writes. A name is one of them when the
    // name itself is (a link at the name is not its target).
    std::vector<TFileIdentity> RecordingFiles;
    // Called after each file is in place with the number written so far.
    std::function<void(std::int32_t Written)> Progress;
    // While another export holds the folder (TFolderWriter::Lock); without
    // it, the export waits in silence.
    TFolderWait WaitForFolder;
    // The pieces' names without extension (PieceNames.h), one per area; a
    // piece without one is WAVE00, WAVE01, ... by its index. A name whose
    // file is in the folder, and not as an earlier export left it, is no
    // file to replace: the piece gets the name with "_2", "_3", ... .
    std::vector<std::string> Names = {};
    // Also write LabelsBesidePieces: the areas labelled with the pieces'
    // names without extension.
    bool WriteLabels = false;
    // For the record: what the areas were cut with (empty: nothing a later
    // run compares) and the recording's file as it was before the cut.
    std::string Settings = {};
    TFileStamp Source = {};
    // The pieces' samples converted (PieceConversion.h); by default the
    // recording's exact samples.
    TPieceConversion Convert = {};
};

// Writes files 0..Count-1 in order, then the label file, removes the files
// of the earlier export that this one did not write again and that still
// are as it recorded them, and writes the record. Raises
// EExportOverwritesRecording before anything is written, EExportFailed at
// the first failure (when WaitForFolder gives up: the folder, "in use by
// another export"). The pieces' file names, in order.
std::vector<std::string> WriteExportFolder(const TExportJob &Job);
