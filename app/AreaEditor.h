#pragma once
// Hand corrections of the trim-area list, each one a step that can be
// undone and redone. The list is the form's (FAreas, its first FAreaCount
// entries), so the export and playing see the areas as edited. Changes the
// list gets from elsewhere (a detection) become steps of their own when
// Sync next sees them.
#include "engine/TrimArea.h"

#include <cstdint>
#include <vector>

class TAreaEditor {
public:
    TAreaEditor(std::vector<TTrimArea> &Areas, std::int32_t &Count);

    // A new recording: no history, nothing selected, the list as it is.
    void Reset();
    // Records a change made elsewhere as one step; true when there was one.
    bool Sync();
    // Counts every change of the list, for those who show it.
    std::uint64_t Version() const { return FVersion; }

    int Selected() const { return FSelected; }
    void Select(int Index);

    // Each is one step; false (and nothing changed) where it does not apply.
    bool Remove(int Index);
    // Inserted before the first area starting later; selected.
    bool Add(TTrimArea Area);
    bool SplitAt(std::int64_t Frame);
    bool MergeWithNext(int Index);
    bool Undo();
    bool Redo();
    bool CanUndo() const { return !FUndo.empty(); }
    bool CanRedo() const { return !FRedo.empty(); }

    // A drag: any number of Move calls between Begin and End make one step.
    void BeginMove();
    void Move(int Index, TTrimArea Area);
    void EndMove();

    // The area the last in list order that holds Frame, or -1.
    int AreaAt(std::int64_t Frame) const;

private:
    std::vector<TTrimArea> Current() const;
    void Apply(const std::vector<TTrimArea> &List);
    // Keeps Before as the step back to it, and the list as it is now.
    void Record(std::vector<TTrimArea> Before);

    std::vector<TTrimArea> &FAreas;
    std::int32_t &FCount;
    std::vector<TTrimArea> FKnown;
    std::vector<std::vector<TTrimArea>> FUndo;
    std::vector<std::vector<TTrimArea>> FRedo;
    std::vector<TTrimArea> FMoveFrom;
    bool FMoving = false;
    int FSelected = -1;
    std::uint64_t FVersion = 0;
};
