#include "app/RecordingDocument.h"

#include "app/PlayableCopy.h"
#include "app/RecordingLoad.h"
#include "engine/Extraction.h"
#include "engine/LabelFile.h"
#include "engine/MappedRecording.h"
#include "engine/SampleFormat.h"
#include "platform/Exception.h"
#include "platform/FolderWriter.h"
#include "wave/ZuWAVE.h"

#include <QFile>

#include <algorithm>
#include <utility>

namespace {

bool SameAreas(const std::vector<TTrimArea> &A, const std::vector<TTrimArea> &B)
{
    return std::equal(A.begin(), A.end(), B.begin(), B.end(), [](const TTrimArea &X, const TTrimArea &Y) {
        return X.StartPos == Y.StartPos && X.EndPos == Y.EndPos;
    });
}

} // namespace

TRecordingDocument::TRecordingDocument(QObject *Owner)
    : FOwnWave(Owner != nullptr ? nullptr : std::make_unique<TZuWave>(nullptr)),
      FWave(Owner != nullptr ? new TZuWave(Owner) : FOwnWave.get())
{
    // The settings in the order the component stores them.
    FWave->SetFreq(44100);
    FWave->SetBits(16);
    FWave->SetChannels(1);
}

TRecordingDocument::~TRecordingDocument() = default;

TSampleView TRecordingDocument::RecordingView() const
{
    return FMapped ? FMapped->View() : SampleViewOf(*FWave);
}

std::shared_ptr<TMappedRecording> TRecordingDocument::Replace(TFreshRecording &Fresh, const QString &Name)
{
    // The fresh wave's buffer becomes this one's; the old one goes with Fresh.
    std::swap(FWave->FInternalWave, Fresh.Wave->FInternalWave);
    Fresh.Wave.reset();
    std::shared_ptr<TMappedRecording> Old = std::exchange(FMapped, std::move(Fresh.Mapped));
    FRecordingFile = Fresh.File;
    FRecordingName = Name;
    FRecordingKey.reset();
    FSavedAreas.clear();
    FChannelsNoticeGiven = false;
    FFormatRefusal.clear();
    Suggested.reset();
    AreaCount = 0;
    // Corrections and their history belong to the recording they were made on.
    FEditor.Reset();
    return Old;
}

bool TRecordingDocument::FirstChannelsNotice()
{
    return !std::exchange(FChannelsNoticeGiven, true);
}

TNormaliseResult TRecordingDocument::Normalise()
{
    // The mapped recording is scaled in place, its pages written becoming
    // the program's own (the wave's block lies among them); a copy the
    // library holds of a layout nothing reads goes through its passes,
    // which refuse it.
    return FMapped ? NormaliseSamples(FMapped->ChangeSamples(), RecordingView()) : NormaliseRecording(*FWave);
}

std::vector<TTrimArea> TRecordingDocument::ShownAreas() const
{
    const auto Count = std::size_t(std::clamp<std::int64_t>(AreaCount, 0, std::int64_t(Areas.size())));
    return {Areas.begin(), Areas.begin() + std::ptrdiff_t(Count)};
}

void TRecordingDocument::ExtractArea(std::int32_t Index, TZuWave &Scratch) const
{
    if (Index < 0 || Index >= AreaCount || static_cast<std::size_t>(Index) >= Areas.size())
        throw Exception("TForm1.ExtractArea: no trim area " + std::to_string(Index));
    const TTrimArea &Area = Areas[static_cast<std::size_t>(Index)];
    // Sample by sample through the wave where the library reads the
    // recording's format; from the samples as they lie where only the
    // engine does.
    if (FWave->GetWaveSize() > 0 || !FMapped)
        ExtractTrimArea(*FWave, Area, Scratch);
    else
        CopyPlayable(RecordingView(), Area, Scratch);
}

void TRecordingDocument::TakeDetected(std::vector<TTrimArea> Found, std::int32_t Count)
{
    Areas = std::move(Found);
    AreaCount = Count;
    MarkAreasSaved();
}

void TRecordingDocument::TakeLabeled(const std::vector<TLabeledArea> &Read)
{
    Areas.clear();
    FAreaLabels.clear();
    for (const TLabeledArea &Area : Read) {
        Areas.push_back(Area.Area);
        FAreaLabels << Area.Label;
    }
    FLabeledAreas = Areas;
    AreaCount = std::int32_t(Areas.size());
    MarkAreasSaved();
}

void TRecordingDocument::TakeKept(std::vector<TTrimArea> Kept)
{
    Areas = std::move(Kept);
    AreaCount = std::int32_t(Areas.size());
    FAreaLabels.clear();
    FLabeledAreas.clear();
    FEditor.Reset();
    MarkAreasSaved();
}

QStringList TRecordingDocument::CurrentAreaLabels() const
{
    if (!SameAreas(ShownAreas(), FLabeledAreas))
        return {};
    return FAreaLabels;
}

bool TRecordingDocument::HasUnsavedAreas() const
{
    // No areas left is nothing a label file could keep.
    const std::vector<TTrimArea> Shown = ShownAreas();
    return !Shown.empty() && !SameAreas(Shown, FSavedAreas);
}

void TRecordingDocument::MarkAreasSaved()
{
    FSavedAreas = ShownAreas();
}

void TRecordingDocument::KeepShownAreas()
{
    if (!FRecordingKey)
        return;
    try {
        KeepAreas(*FRecordingKey, ShownAreas());
    } catch (const EFileSystemError &) {
        // A store that cannot be written loses no work: the question before
        // leaving has been asked already. The areas are only not offered again.
    }
}

std::optional<std::vector<TTrimArea>> TRecordingDocument::AreasKeptFor(const std::string &FileName)
{
    FRecordingName = QFile::decodeName(QByteArray::fromStdString(FileName));
    FRecordingKey = RecordingKeyOf(QByteArray::fromStdString(FileName));
    if (!FRecordingKey || !FFormatRefusal.isEmpty())
        return std::nullopt;
    return KeptAreas(*FRecordingKey, FrameCountOf(RecordingView()));
}
