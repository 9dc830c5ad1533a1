// The view's drawing surface: merged lines without their end point, clipped
// at every edge, and opaque fills.
#include "app/ViewCanvas.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

// Copies Colour, opaque, into the pixels of Rect that lie in Image (RGB32).
void Fill(QImage &Image, const QRect &Rect, QRgb Colour)
{
    const QRect Inside = Rect & Image.rect();
    for (int Y = Inside.top(); Y <= Inside.bottom(); ++Y) {
        QRgb *Row = reinterpret_cast<QRgb *>(Image.scanLine(Y));
        std::fill(Row + Inside.left(), Row + Inside.right() + 1, Colour | 0xFF000000u);
    }
}

class ViewCanvasTest : public ::testing::Test {
protected:
    ViewCanvasTest() : Image(8, 6, QImage::Format_RGB32) { Image.fill(Qt::black); }

    // Rows of the image: '.' black, 'r' red, 'b' blue, 'm' magenta, '?' other.
    std::vector<std::string> Picture() const
    {
        std::vector<std::string> Rows;
        for (int Y = 0; Y < Image.height(); ++Y) {
            std::string Row;
            for (int X = 0; X < Image.width(); ++X) {
                switch (Image.pixel(X, Y) & 0xFFFFFF) {
                case 0x000000: Row += '.'; break;
                case 0xFF0000: Row += 'r'; break;
                case 0x0000FF: Row += 'b'; break;
                case 0xFF00FF: Row += 'm'; break;
                default: Row += '?'; break;
                }
            }
            Rows.push_back(Row);
        }
        return Rows;
    }

    QImage Image;
};

using TRows = std::vector<std::string>;

} // namespace

TEST_F(ViewCanvasTest, LinesMergeAndStopBeforeTheirEndPoint)
{
    TViewCanvas Canvas(Image, QFont(), 0x00FF00);
    Canvas.Line(1, 1, 5, 1, 0xFF0000);
    Canvas.Line(3, 0, 3, 4, 0x0000FF);
    Canvas.Line(6, 5, 6, 2, 0xFF0000);
    Canvas.Line(7, 3, 7, 3, 0xFF0000);
    EXPECT_EQ(Picture(), (TRows{"...b....", ".rrmr...", "...b....", "...b..r.", "......r.", "......r."}));
}

TEST_F(ViewCanvasTest, LinesAreClippedAtEveryEdge)
{
    TViewCanvas Canvas(Image, QFont(), 0x00FF00);
    Canvas.Line(-5, 0, 3, 0, 0xFF0000);     // enters from the left
    Canvas.Line(12, 5, 5, 5, 0xFF0000);     // enters from the right, leftward
    Canvas.Line(0, 40, 0, 3, 0x0000FF);     // enters from below, upward
    Canvas.Line(7, -9, 7, 2, 0x0000FF);     // enters from above
    Canvas.Line(-3, -3, 20, -3, 0xFF0000);  // wholly outside
    Canvas.Line(9, 0, 9, 5, 0xFF0000);      // wholly outside
    EXPECT_EQ(Picture(), (TRows{"rrr....b", ".......b", "........", "........", "b.......", "b.....rr"}));
}

TEST_F(ViewCanvasTest, SlantedLinesStepAndStopBeforeTheirEndPoint)
{
    TViewCanvas Canvas(Image, QFont(), 0x00FF00);
    Canvas.Line(0, 0, 4, 4, 0xFF0000);
    Canvas.Line(7, 0, 3, 2, 0x0000FF);
    EXPECT_EQ(Picture(), (TRows{"r.....bb", ".r..bb..", "..r.....", "...r....", "........", "........"}));
}

TEST_F(ViewCanvasTest, FillsAreOpaqueAndClipped)
{
    TViewCanvas Canvas(Image, QFont(), 0x00FF00);
    Canvas.Line(0, 1, 8, 1, 0x0000FF);
    Fill(Image, QRect(-2, 1, 4, 10), 0xFF0000);
    EXPECT_EQ(Picture(), (TRows{"........", "rrbbbbbb", "rr......", "rr......", "rr......", "rr......"}));
}

TEST(ViewCanvasText, CaptionNearTheRightEdgeIsCondensedToStayWhole)
{
    QFont Font(QStringLiteral("IPAPGothic"));
    Font.setPixelSize(12);
    const QString Caption = QStringLiteral("Center Position");
    const int Needed = QFontMetrics(Font).horizontalAdvance(Caption);
    ASSERT_GT(Needed, 80) << "the stand-in font is wider than the room the layout gives this caption";

    // Ink columns of the caption drawn 80 px from the right edge.
    QImage Image(Needed + 40, 20, QImage::Format_RGB32);
    Image.fill(Qt::black);
    {
        TViewCanvas Canvas(Image, Font, qRgb(0, 255, 0));
        Canvas.Text(Image.width() - 80, 2, Caption);
    }
    int First = Image.width(), Last = -1;
    for (int X = 0; X < Image.width(); ++X)
        for (int Y = 0; Y < Image.height(); ++Y)
            if ((Image.pixel(X, Y) & 0xFFFFFF) != 0) {
                First = std::min(First, X);
                Last = std::max(Last, X);
            }
    EXPECT_GE(First, Image.width() - 80);
    EXPECT_LT(Last, Image.width() - 1) << "the last letter ends inside the view";
    EXPECT_GT(Last - First, 60) << "condensed, not dropped";
}
