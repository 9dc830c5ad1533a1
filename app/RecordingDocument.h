#pragma once
// The recording being worked on and the user's work on it: the samples
// (the file mapped in place, read through a wave component where the wave
// library reads their format), the trim areas with their undo history, the
// labels read with them, and which areas have been kept. It holds no
// widget: the window shows it and the commands change it.
#include "app/AreaEditor.h"
#include "app/KeptAreas.h"
#include "engine/ExportFolder.h"
#include "engine/Normalisation.h"
#include "engine/SampleView.h"
#include "engine/SuggestSettings.h"
#include "engine/TrimArea.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QObject;
class TMappedRecording;
class TZuWave;
struct TFreshRecording;
struct TLabeledArea;

class TRecordingDocument {
public:
    // The wave is Owner's child, when there is one (a window owns its
    // components), else the document's own.
    explicit TRecordingDocument(QObject *Owner = nullptr);
    ~TRecordingDocument();
    TRecordingDocument(const TRecordingDocument &) = delete;
    TRecordingDocument &operator=(const TRecordingDocument &) = delete;

    // The recording when the wave library reads it (8/16-bit PCM, mono or
    // stereo, under 2 GiB: its block lies in the mapping) and when nothing
    // reads it (the library keeps its format for the report). When only the
    // engine reads it, the wave holds no samples, as after a refused load:
    // nothing that reads it finds an older recording's samples.
    TZuWave &Wave() const { return *FWave; }
    // The recording as every command reads it: the mapped file's view, else
    // the wave's own buffer. Valid until the next load.
    TSampleView RecordingView() const;
    // The recording's file, mapped copy-on-write; null when no file is open
    // or the library's loader holds a copy.
    const std::shared_ptr<TMappedRecording> &Mapped() const { return FMapped; }
    // The file the recording was loaded from, which an export must never
    // replace; nothing when no file is loaded.
    const std::optional<TFileIdentity> &RecordingFile() const { return FRecordingFile; }
    // The recording's name as the user gave it; empty while none is open.
    const QString &RecordingName() const { return FRecordingName; }

    // A recording read takes the place of the one open: its buffer becomes
    // the wave's, the areas, their history and what was kept of them start
    // afresh. Returns the mapping left, for the caller to drop (it can take
    // a while).
    std::shared_ptr<TMappedRecording> Replace(TFreshRecording &Fresh, const QString &Name);
    // The report of a format nothing reads, which the commands repeat
    // instead of working on a recording without samples; empty otherwise.
    const QString &FormatRefusal() const { return FFormatRefusal; }
    void SetFormatRefusal(const QString &Report) { FFormatRefusal = Report; }
    // True the first time it is asked for the recording open.
    bool FirstChannelsNotice();
    // Scales the samples to the loudest they can be, in place.
    TNormaliseResult Normalise();

    // The trim areas: the first AreaCount entries of Areas (those beyond
    // are the detection's work slots).
    std::vector<TTrimArea> Areas;
    std::int32_t AreaCount = 0;
    // The last suggestion for this recording, without its levels: the
    // floor Trim! follows while the panel's levels are the suggested ones.
    std::optional<TSuggestedSettings> Suggested;
    TAreaEditor &Editor() { return FEditor; }
    const TAreaEditor &Editor() const { return FEditor; }
    std::vector<TTrimArea> ShownAreas() const;
    // Area Index copied into Scratch, in a format a wave can hold.
    void ExtractArea(std::int32_t Index, TZuWave &Scratch) const;

    // Areas that take the place of those shown, as found from the
    // settings (nothing to lose: found again at any time), as read from a
    // label file (their labels count while the areas stay as read), and
    // as kept from an earlier time this recording was open.
    void TakeDetected(std::vector<TTrimArea> Found, std::int32_t Count);
    void TakeLabeled(const std::vector<TLabeledArea> &Read);
    void TakeKept(std::vector<TTrimArea> Kept);
    // The current areas' labels, when they are those read; else empty.
    QStringList CurrentAreaLabels() const;

    // Whether the areas hold hand corrections made since they were last
    // detected, read, exported or saved as labels.
    bool HasUnsavedAreas() const;
    // The areas as they are now count as kept.
    void MarkAreasSaved();
    // Puts the areas shown in the store, for the recording being left.
    void KeepShownAreas();
    // The areas the store kept for FileName's recording, now open; nothing
    // when there are none, or the recording is not read.
    std::optional<std::vector<TTrimArea>> AreasKeptFor(const std::string &FileName);

private:
    std::unique_ptr<TZuWave> FOwnWave;
    TZuWave *FWave;
    std::shared_ptr<TMappedRecording> FMapped;
    std::optional<TFileIdentity> FRecordingFile;
    QString FRecordingName;
    std::optional<TRecordingKey> FRecordingKey;
    QString FFormatRefusal;
    bool FChannelsNoticeGiven = false;
    std::vector<TTrimArea> FSavedAreas;
    // The labels read with the areas, which count while the areas still
    // are exactly those read.
    QStringList FAreaLabels;
    std::vector<TTrimArea> FLabeledAreas;
    TAreaEditor FEditor{Areas, AreaCount};
};
