#pragma once
// One recording through the engine: read, optionally normalised, detected
// and written (or only detected, for a listing).
#include "engine/ExportFolder.h"
#include "engine/TrimArea.h"
#include "split/SplitOptions.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TCutOutcome {
    QByteArray Error; // empty when the recording was cut; names in it are bytes
    std::uint32_t Rate = 0;
    std::uint64_t Frames = 0; // the recording's length; 0 when skipped
    std::vector<TTrimArea> Areas;
    TContainer Container = TContainer::Wav; // the kind of file the pieces are
    bool Skipped = false; // --skip-done found the folder complete
    // The pieces' file names in the folder, in order; empty in a listing.
    std::vector<std::string> PieceFiles;
    // With --auto: the settings the recording was cut with, and what they
    // were suggested from, as one line for stderr.
    QByteArray Chosen;
    // With --auto: no speech stood out from one steady level, which the
    // run says even when it lists nothing.
    bool NoSpeechFound = false;
    // With --auto: sound well above the floor that no piece holds, as one
    // line for stderr; empty when there is none.
    QByteArray LeftOut;
    // With --labels: the pieces as a label file, each labelled with its
    // file name without extension.
    QByteArray LabelText;
};

// Where a recording's pieces go and what they must never replace.
struct TCutTarget {
    QByteArray Folder;
    // Every file the run reads or writes outside the pieces' folders (its
    // recordings, label files, list and manifest): a name the export would
    // write that is one of them fails the recording before anything is
    // written.
    std::vector<TFileIdentity> Inputs;
    // Asked while another export holds the folder.
    TFolderWait Waiting;
};

// Writes the pieces into Target.Folder unless Options.List. Share gets the
// part of the pieces written so far, 0 to 1. Never raises: a failure is the
// outcome's error message.
TCutOutcome CutRecording(const QByteArray &File, const TCutTarget &Target, const TSplitOptions &Options,
                         const std::function<void(double Share)> &Share);
