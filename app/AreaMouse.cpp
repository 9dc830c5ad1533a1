// Correcting the areas on the view with the left button: a click selects
// the area under it and puts the cursor there, a drag near a border moves
// that edge, and Shift+drag adds an area.
#include "app/Unit1.h"

#include "app/PaintBox.h"
#include "engine/SampleFormat.h"

#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

namespace {

// How near to a border column a press takes hold of that edge.
constexpr int EdgeReach = 3;

} // namespace

std::optional<TForm1::TEdgeHit> TForm1::EdgeAt(int X) const
{
    const std::int64_t S = SB->value();
    const std::int64_t HZ = SBHZ->value();
    std::optional<TEdgeHit> Found;
    int Nearest = EdgeReach + 1;
    const auto Consider = [&](int Index) {
        const TTrimArea &Area = FAreas[std::size_t(Index)];
        // The border columns as the view draws them.
        const auto X1 = (Area.StartPos - S) / HZ;
        const auto X2 = (Area.EndPos - S) / HZ - 1;
        for (const auto &[Column, Start] : {std::pair{X1, true}, std::pair{X2, false}}) {
            const std::int64_t Distance = std::llabs(Column - X);
            if (Distance < Nearest) {
                Nearest = int(Distance);
                Found = TEdgeHit{Index, Start};
            }
        }
    };
    const int Count = std::min<int>(FAreaCount, int(FAreas.size()));
    // The selected area first: its edges win where two lie together.
    if (Document.Editor().Selected() >= 0 && Document.Editor().Selected() < Count)
        Consider(Document.Editor().Selected());
    if (Found)
        return Found;
    for (int I = 0; I < Count; ++I)
        Consider(I);
    return Found;
}

void TForm1::AreaMouseDown(Qt::KeyboardModifiers Shift, int X)
{
    const std::int64_t Frame = SB->value() + std::int64_t(X) * SBHZ->value();
    Document.Editor().Sync();
    if (Shift & Qt::ShiftModifier) {
        FAddAnchor = Frame;
        FNewArea = TTrimArea{Frame, Frame};
    } else if (const std::optional<TEdgeHit> Edge = EdgeAt(X)) {
        FDragged = Edge;
        FDragFromX = X;
        FDragMoved = false;
        Document.Editor().Select(Edge->Index);
        Document.Editor().BeginMove();
    } else {
        Document.Editor().Select(Document.Editor().AreaAt(Frame));
        FCursor = Frame;
    }
    ShowAreaChanges();
}

void TForm1::AreaMouseMove(int X)
{
    const std::int64_t Frames = FrameCountOf(Document.RecordingView());
    const std::int64_t Frame = std::clamp<std::int64_t>(SB->value() + std::int64_t(X) * SBHZ->value(), 0, Frames);
    if (FNewArea) {
        FNewArea = TTrimArea{std::min(FAddAnchor, Frame), std::max(FAddAnchor, Frame)};
    } else if (FDragged) {
        // A click on a border selects its area and moves nothing: the edge
        // would otherwise snap to the column's first frame.
        FDragMoved = FDragMoved || X != FDragFromX;
        if (!FDragMoved)
            return;
        TTrimArea Area = FAreas[std::size_t(FDragged->Index)];
        // An end edge is dragged by its border column, the area's last one.
        if (FDragged->Start)
            Area.StartPos = std::min(Frame, Area.EndPos - 1);
        else
            Area.EndPos = std::clamp<std::int64_t>(Frame + SBHZ->value(), Area.StartPos + 1, Frames);
        Document.Editor().Move(FDragged->Index, Area);
    } else {
        return;
    }
    ShowAreaChanges();
}

void TForm1::AreaMouseUp(int X)
{
    AreaMouseMove(X);
    if (FNewArea) {
        const TTrimArea Added = *FNewArea;
        FNewArea.reset();
        Document.Editor().Add(Added);
    } else if (FDragged) {
        FDragged.reset();
        Document.Editor().EndMove();
    }
    ShowAreaChanges();
}
