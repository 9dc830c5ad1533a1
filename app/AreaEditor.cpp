#include "app/AreaEditor.h"

#include <algorithm>
#include <span>
#include <utility>

namespace {

// Steps kept: enough for a session's corrections, bounded for long lists.
constexpr std::size_t MaxSteps = 200;

bool Same(std::span<const TTrimArea> A, std::span<const TTrimArea> B)
{
    return std::equal(A.begin(), A.end(), B.begin(), B.end(), [](const TTrimArea &X, const TTrimArea &Y) {
        return X.StartPos == Y.StartPos && X.EndPos == Y.EndPos;
    });
}

} // namespace

TAreaEditor::TAreaEditor(std::vector<TTrimArea> &Areas, std::int32_t &Count) : FAreas(Areas), FCount(Count) {}

std::vector<TTrimArea> TAreaEditor::Current() const
{
    const auto Count = std::min<std::size_t>(std::size_t(std::max(FCount, 0)), FAreas.size());
    return {FAreas.begin(), FAreas.begin() + std::ptrdiff_t(Count)};
}

void TAreaEditor::Apply(const std::vector<TTrimArea> &List)
{
    FAreas = List;
    FCount = static_cast<std::int32_t>(List.size());
    FKnown = List;
    if (FSelected >= FCount)
        FSelected = -1;
    ++FVersion;
}

void TAreaEditor::Reset()
{
    FKnown = Current();
    FUndo.clear();
    FRedo.clear();
    FMoving = false;
    FSelected = -1;
    ++FVersion;
}

void TAreaEditor::Record(std::vector<TTrimArea> Before)
{
    FUndo.push_back(std::move(Before));
    if (FUndo.size() > MaxSteps)
        FUndo.erase(FUndo.begin());
    FRedo.clear();
    FKnown = Current();
    ++FVersion;
}

bool TAreaEditor::Sync()
{
    // Asked at every paint: compared in place, without a copy.
    const auto Count = std::min<std::size_t>(std::size_t(std::max(FCount, 0)), FAreas.size());
    if (FMoving || (Count == FKnown.size() && Same({FAreas.data(), Count}, FKnown)))
        return false;
    FSelected = -1;
    Record(FKnown);
    return true;
}

void TAreaEditor::Select(int Index)
{
    FSelected = Index >= 0 && Index < FCount ? Index : -1;
    ++FVersion;
}

bool TAreaEditor::Remove(int Index)
{
    Sync();
    std::vector<TTrimArea> List = Current();
    if (Index < 0 || std::size_t(Index) >= List.size())
        return false;
    const std::vector<TTrimArea> Before = List;
    List.erase(List.begin() + Index);
    FSelected = -1;
    Apply(List);
    Record(Before);
    return true;
}

bool TAreaEditor::Add(TTrimArea Area)
{
    Sync();
    if (Area.StartPos >= Area.EndPos || Area.StartPos < 0)
        return false;
    std::vector<TTrimArea> List = Current();
    const std::vector<TTrimArea> Before = List;
    const auto At =
        std::find_if(List.begin(), List.end(), [&](const TTrimArea &A) { return A.StartPos > Area.StartPos; });
    const int Index = int(At - List.begin());
    List.insert(At, Area);
    Apply(List);
    FSelected = Index;
    Record(Before);
    return true;
}

int TAreaEditor::AreaAt(std::int64_t Frame) const
{
    for (int I = std::min<int>(FCount, int(FAreas.size())) - 1; I >= 0; --I)
        if (FAreas[std::size_t(I)].StartPos <= Frame && Frame < FAreas[std::size_t(I)].EndPos)
            return I;
    return -1;
}

bool TAreaEditor::SplitAt(std::int64_t Frame)
{
    Sync();
    const int Index = AreaAt(Frame);
    std::vector<TTrimArea> List = Current();
    if (Index < 0 || Frame == List[std::size_t(Index)].StartPos)
        return false;
    const std::vector<TTrimArea> Before = List;
    const TTrimArea Whole = List[std::size_t(Index)];
    List[std::size_t(Index)].EndPos = Frame;
    List.insert(List.begin() + Index + 1, TTrimArea{Frame, Whole.EndPos});
    Apply(List);
    FSelected = Index + 1;
    Record(Before);
    return true;
}

bool TAreaEditor::MergeWithNext(int Index)
{
    Sync();
    std::vector<TTrimArea> List = Current();
    if (Index < 0 || std::size_t(Index) + 1 >= List.size())
        return false;
    const std::vector<TTrimArea> Before = List;
    TTrimArea &Merged = List[std::size_t(Index)];
    const TTrimArea Next = List[std::size_t(Index) + 1];
    Merged = {std::min(Merged.StartPos, Next.StartPos), std::max(Merged.EndPos, Next.EndPos)};
    List.erase(List.begin() + Index + 1);
    Apply(List);
    FSelected = Index;
    Record(Before);
    return true;
}

bool TAreaEditor::Undo()
{
    Sync();
    if (FUndo.empty())
        return false;
    FRedo.push_back(Current());
    const std::vector<TTrimArea> Back = std::move(FUndo.back());
    FUndo.pop_back();
    FSelected = -1;
    Apply(Back);
    return true;
}

bool TAreaEditor::Redo()
{
    Sync();
    if (FRedo.empty())
        return false;
    FUndo.push_back(Current());
    const std::vector<TTrimArea> Again = std::move(FRedo.back());
    FRedo.pop_back();
    FSelected = -1;
    Apply(Again);
    return true;
}

void TAreaEditor::BeginMove()
{
    Sync();
    FMoveFrom = Current();
    FMoving = true;
}

void TAreaEditor::Move(int Index, TTrimArea Area)
{
    if (!FMoving || Index < 0 || Index >= FCount || std::size_t(Index) >= FAreas.size() || Area.StartPos >= Area.EndPos)
        return;
    FAreas[std::size_t(Index)] = Area;
    FKnown = Current();
    ++FVersion;
}

void TAreaEditor::EndMove()
{
    if (!FMoving)
        return;
    FMoving = false;
    if (!Same(Current(), FMoveFrom))
        Record(std::move(FMoveFrom));
}
