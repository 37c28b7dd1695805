// The chart's pens and 3D options, and the surface's buffering: which
// bitmap it draws on, when it is made anew, and what reaches the window.
#include "chart/TeCanvas.h"
#include "runtime/qt/QtPainter.h"

#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct PenDefaults {
    const char* name;
    std::function<std::unique_ptr<TChartPen>()> make;
    TColor color;
    int width;
    TPenStyle style;
    bool visible;
};

TEST(ChartPens, FamilyDefaults)
{
    const PenDefaults cases[] = {
        {"TChartPen", [] { return std::make_unique<TChartPen>(); }, clBlack, 1, psSolid, true},
        {"TChartHiddenPen", [] { return std::make_unique<TChartHiddenPen>(); }, clBlack, 1, psSolid, false},
        {"TDottedGrayPen", [] { return std::make_unique<TDottedGrayPen>(); }, 0x808080, 1, psDot, true},
        {"TDarkGrayPen", [] { return std::make_unique<TDarkGrayPen>(); }, 0x808080, 1, psSolid, true},
        {"TChartAxisPen", [] { return std::make_unique<TChartAxisPen>(); }, clBlack, 2, psSolid, true},
        {"TChartArrowPen", [] { return std::make_unique<TChartArrowPen>(); }, 0xFFFFFF, 1, psSolid, true},
    };
    for (const PenDefaults& c : cases) {
        const auto pen = c.make();
        EXPECT_EQ(pen->Color(), c.color) << c.name;
        EXPECT_EQ(pen->Width(), c.width) << c.name;
        EXPECT_EQ(pen->Style(), c.style) << c.name;
        EXPECT_EQ(pen->Mode(), pmCopy) << c.name;
        EXPECT_EQ(pen->Visible(), c.visible) << c.name;
        EXPECT_FALSE(pen->SmallDots()) << c.name;
    }
}

TEST(ChartPens, NotifyTheOwnerOncePerRealChange)
{
    int changes = 0;
    TDottedGrayPen pen([&] { ++changes; });
    pen.SetColor(clGray);
    pen.SetStyle(psDot);
    pen.SetVisible(true);
    EXPECT_EQ(changes, 0);
    pen.SetSmallDots(true);
    pen.SetVisible(false);
    pen.SetWidth(3);
    pen.SetMode(pmNotXor);
    EXPECT_EQ(changes, 4);

    TChartPen source;
    source.SetColor(clRed);
    pen.Assign(source);
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(pen.Color(), clRed);
    EXPECT_EQ(pen.Width(), 1);
    EXPECT_EQ(pen.Style(), psSolid);
    EXPECT_EQ(pen.Mode(), pmCopy);
    EXPECT_FALSE(pen.SmallDots());
    EXPECT_TRUE(pen.Visible());
    pen.Assign(source);
    EXPECT_EQ(changes, 5);
}

TEST(View3DOptions, DefaultsAndChangeNotification)
{
    int changes = 0;
    TView3DOptions options([&] { ++changes; });
    EXPECT_EQ(options.Elevation(), 345);
    EXPECT_EQ(options.HorizOffset(), 0);
    EXPECT_TRUE(options.Orthogonal());
    EXPECT_EQ(options.Perspective(), 15);
    EXPECT_EQ(options.Rotation(), 345);
    EXPECT_EQ(options.Tilt(), 0);
    EXPECT_EQ(options.VertOffset(), 0);
    EXPECT_EQ(options.Zoom(), 100);
    EXPECT_TRUE(options.ZoomText());
    options.SetZoom(100);
    EXPECT_EQ(changes, 0);
    options.SetZoom(120);
    options.SetZoomText(false);
    EXPECT_EQ(changes, 2);
}

QImage WhiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Draws a red block at (0, 0, 10, 10) of the surface's drawing rectangle.
void DrawBlock(TTeeCanvas3D& canvas, const TRect& drawing)
{
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(TRect{drawing.Left, drawing.Top, drawing.Left + 10, drawing.Top + 10});
}

TEST(SurfaceBuffer, ReusesTheBitmapWhileTheSizeStaysTheSame)
{
    TTeeCanvas3D canvas;
    EXPECT_EQ(canvas.Bitmap(), nullptr);
    EXPECT_EQ(canvas.PrepareSurface(TCanvas(), nullptr, TRect{5, 7, 105, 57}, false), (TRect{0, 0, 100, 50}));
    const TBitmap* first = canvas.Bitmap();
    ASSERT_NE(first, nullptr);
    const uchar* firstPixels = QtImage(*first).constBits();
    canvas.FinishSurface(TCanvas(), TCanvas(), TRect{});

    canvas.PrepareSurface(TCanvas(), nullptr, TRect{20, 30, 120, 80}, false);
    EXPECT_EQ(canvas.Bitmap(), first);
    EXPECT_EQ(QtImage(*canvas.Bitmap()).constBits(), firstPixels);
    canvas.FinishSurface(TCanvas(), TCanvas(), TRect{});

    EXPECT_EQ(canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, 101, 50}, false), (TRect{0, 0, 101, 50}));
    EXPECT_EQ(QtImage(*canvas.Bitmap()).size(), QSize(101, 50));
    canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, 101, 51}, false);
    EXPECT_EQ(QtImage(*canvas.Bitmap()).size(), QSize(101, 51));
    EXPECT_EQ(canvas.Bounds(), (TRect{0, 0, 101, 51}));
}

TEST(SurfaceBuffer, FinishCopiesTheBitmapToTheUserRectangleAndCleansTheBuffer)
{
    QImage window = WhiteImage(200, 100);
    TQtBitmap windowBitmap(window);
    TTeeCanvas3D canvas;  // after the image it may still hold a painter on
    const TRect bounds{30, 20, 130, 70};
    DrawBlock(canvas, canvas.PrepareSurface(TCanvas(windowBitmap), nullptr, bounds, false));
    EXPECT_EQ(window.pixel(30, 20), qRgb(255, 255, 255)) << "buffered drawing reached the window";
    EXPECT_TRUE(canvas.Dirty());
    canvas.FinishSurface(TCanvas(windowBitmap), TCanvas(windowBitmap), bounds);
    EXPECT_FALSE(canvas.Dirty());
    EXPECT_EQ(window.pixel(30, 20), qRgb(255, 0, 0));
    EXPECT_EQ(window.pixel(39, 29), qRgb(255, 0, 0));
    EXPECT_EQ(window.pixel(40, 29), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.Target(), TCanvas(windowBitmap));
}

TEST(SurfaceBuffer, RedrawFromBufferCopiesOnlyAClean)
{
    QImage window = WhiteImage(60, 40);
    TQtBitmap windowBitmap(window);
    QImage again = WhiteImage(60, 40);
    TQtBitmap againBitmap(again);
    const QImage before = again.copy();
    TTeeCanvas3D canvas;
    EXPECT_FALSE(canvas.RedrawFromBuffer()) << "nothing drawn yet";
    DrawBlock(canvas, canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, 60, 40}, false));
    canvas.FinishSurface(TCanvas(), TCanvas(), TRect{});

    EXPECT_TRUE(canvas.RedrawFromBuffer(TCanvas(windowBitmap)));
    EXPECT_EQ(window.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(window.pixel(10, 10), qRgb(255, 255, 255));

    canvas.MarkDirty();
    EXPECT_FALSE(canvas.RedrawFromBuffer(TCanvas(againBitmap)));
    EXPECT_EQ(again, before);
}

TEST(SurfaceBuffer, DrawingIntoTheBufferBetweenPaintsShowsOnTheNextRedraw)
{
    QImage window = WhiteImage(40, 30);
    TQtBitmap windowBitmap(window);
    TTeeCanvas3D canvas;
    canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, 40, 30}, false);
    canvas.FinishSurface(TCanvas(), TCanvas(), TRect{});
    canvas.SetTarget(canvas.BufferCanvas());
    canvas.Pen().SetMode(pmNotXor);
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(5, 5, 20, 15);
    EXPECT_TRUE(canvas.RedrawFromBuffer(TCanvas(windowBitmap)));
    EXPECT_EQ(window.pixel(5, 5), qRgb(0, 0, 0)) << "black pen not-xor white stays black";
    EXPECT_EQ(window.pixel(10, 10), qRgb(255, 255, 255));
}

TEST(SurfaceBuffer, RedrawFromBufferOntoAWidgetsPainter)
{
    TTeeCanvas3D canvas;
    DrawBlock(canvas, canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, 30, 30}, false));
    canvas.FinishSurface(TCanvas(), TCanvas(), TRect{});
    QImage window = WhiteImage(30, 30);
    TQtBitmap windowBitmap(window);
    {
        QPainter painter(&window);
        const auto qtPainter = CreateQtPainter(painter);
        EXPECT_TRUE(canvas.RedrawFromBuffer(TCanvas(*qtPainter)));
        canvas.SetTarget(TCanvas());  // the painter ends with the paint
    }
    EXPECT_EQ(window.pixel(5, 5), qRgb(255, 0, 0));
}

// A widget painting through the surface as a chart does.
class SurfaceWidget : public QWidget {
public:
    SurfaceWidget() { resize(80, 60); }
    TTeeCanvas3D canvas;
    int draws = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        const auto painter = CreateWidgetPainter(*this);
        const TCanvas window(*painter);
        if (!canvas.RedrawFromBuffer(window)) {
            ++draws;
            const TRect bounds{0, 0, width(), height()};
            const TRect drawing = canvas.PrepareSurface(window, nullptr, bounds, false);
            canvas.Brush().SetColor(clWhite);
            canvas.FillRect(drawing);
            canvas.BevelFrame(drawing, clRed, clBlue, 1);
            canvas.Pen().SetColor(clBlack);
            canvas.Line(10, 30, 70, 30);
            canvas.FinishSurface(window, TCanvas(), bounds);
        }
        canvas.SetTarget(TCanvas());
    }
};

TEST(SurfaceBuffer, AWidgetDrawsOnceAndThenCopiesItsBuffer)
{
    SurfaceWidget widget;
    const QImage first = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage second = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(widget.draws, 1);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(first.pixel(79, 59), qRgb(0, 0, 255));
    EXPECT_EQ(first.pixel(69, 30), qRgb(0, 0, 0));
    EXPECT_EQ(first.pixel(70, 30), qRgb(255, 255, 255));

    widget.canvas.SetUseBuffer(false);
    const QImage unbuffered = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(widget.draws, 2);
    EXPECT_EQ(unbuffered, first);
}

TEST(SurfaceBuffer, UnbufferedDrawsStraightOntoTheTarget)
{
    QImage window = WhiteImage(50, 50);
    TQtBitmap windowBitmap(window);
    TTeeCanvas3D canvas;
    canvas.SetUseBuffer(false);
    const TRect bounds{10, 10, 40, 40};
    EXPECT_EQ(canvas.PrepareSurface(TCanvas(windowBitmap), nullptr, bounds, false), bounds);
    EXPECT_EQ(canvas.Bitmap(), nullptr);
    DrawBlock(canvas, bounds);
    canvas.FinishSurface(TCanvas(windowBitmap), TCanvas(), bounds);
    EXPECT_EQ(window.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(window.pixel(9, 9), qRgb(255, 255, 255));
    EXPECT_TRUE(canvas.Dirty());
}

TEST(SurfaceBuffer, SwitchingBufferingOffFreesTheBitmapAndMarksDirty)
{
    TTeeCanvas3D canvas;
    canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, 20, 20}, false);
    canvas.FinishSurface(TCanvas(), TCanvas(), TRect{});
    ASSERT_FALSE(canvas.Dirty());
    canvas.SetUseBuffer(false);
    EXPECT_EQ(canvas.Bitmap(), nullptr);
    EXPECT_TRUE(canvas.Dirty());
    EXPECT_FALSE(canvas.RedrawFromBuffer());
}

TEST(SurfaceBuffer, MonochromeFreesTheBitmapAsksForARepaintAndShowsBlackAndWhite)
{
    TTeeCanvas3D canvas;
    int repaints = 0;
    canvas.SetOnRepaintRequest([&] { ++repaints; });
    canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, 20, 10}, false);
    canvas.FinishSurface(TCanvas(), TCanvas(), TRect{});
    canvas.SetMonochrome(true);
    canvas.SetMonochrome(true);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(canvas.Bitmap(), nullptr);
    EXPECT_TRUE(canvas.Dirty());

    QImage window = WhiteImage(20, 10);
    TQtBitmap windowBitmap(window);
    canvas.PrepareSurface(TCanvas(), nullptr, TRect{0, 0, 20, 10}, false);
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(TRect{0, 0, 10, 10});
    canvas.Brush().SetColor(clYellow);
    canvas.FillRect(TRect{10, 0, 20, 10});
    canvas.FinishSurface(TCanvas(windowBitmap), TCanvas(), TRect{});
    EXPECT_EQ(window.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(window.pixel(12, 2), qRgb(255, 255, 255));

    TTeeCanvas3D other;
    other.Assign(canvas);
    EXPECT_TRUE(other.Monochrome());
}

TEST(SurfaceBuffer, AnEmptyChartAreaDrawsNothingAndNeverRedraws)
{
    TTeeCanvas3D canvas;
    EXPECT_EQ(canvas.PrepareSurface(TCanvas(), nullptr, TRect{10, 10, 10, 40}, false), (TRect{0, 0, 0, 30}));
    EXPECT_EQ(canvas.Bitmap(), nullptr);
    canvas.Rectangle(0, 0, 5, 5);
    canvas.LineTo(20, 20);
    canvas.TextOut(0, 0, "x");
    QImage window = WhiteImage(10, 10);
    TQtBitmap windowBitmap(window);
    const QImage before = window.copy();
    canvas.FinishSurface(TCanvas(windowBitmap), TCanvas(), TRect{});
    EXPECT_EQ(window, before);
    EXPECT_FALSE(canvas.RedrawFromBuffer());
}

TEST(SurfaceState, ResetDrawingStateKeepsModeAndAlignment)
{
    TTeeCanvas3D canvas;
    canvas.Pen().SetColor(clRed);
    canvas.Pen().SetWidth(3);
    canvas.Pen().SetStyle(psDash);
    canvas.Pen().SetMode(pmNotXor);
    canvas.Brush().SetColor(clBlue);
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(clRed);
    canvas.Font().SetSize(20);
    canvas.SetBackColor(clBlue);
    canvas.SetBackMode(OPAQUE);
    canvas.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    canvas.ResetDrawingState();
    EXPECT_EQ(canvas.Pen().Color(), clBlack);
    EXPECT_EQ(canvas.Pen().Width(), 1);
    EXPECT_EQ(canvas.Pen().Style(), psSolid);
    EXPECT_EQ(canvas.Pen().Mode(), pmNotXor);
    EXPECT_EQ(canvas.Brush().Color(), clWhite);
    EXPECT_EQ(canvas.Brush().Style(), bsSolid);
    EXPECT_EQ(canvas.Font().Color(), clBlack);
    EXPECT_EQ(canvas.Font().Size(), 10);
    EXPECT_EQ(canvas.BackColor(), clWhite);
    EXPECT_EQ(canvas.BackMode(), TRANSPARENT);
    EXPECT_EQ(canvas.TextAlign(), TA_RIGHT | TA_BOTTOM);
}

TEST(SurfaceState, AssignChartPen)
{
    TTeeCanvas3D canvas;
    TChartPen pen;
    pen.SetColor(clRed);
    pen.SetWidth(3);
    pen.SetStyle(psDash);
    pen.SetMode(pmXor);
    canvas.AssignChartPen(pen);
    EXPECT_EQ(canvas.Pen().Color(), clRed);
    EXPECT_EQ(canvas.Pen().Width(), 3);
    EXPECT_EQ(canvas.Pen().Style(), psDash);
    EXPECT_EQ(canvas.Pen().Mode(), pmXor);

    TChartHiddenPen hidden;
    hidden.SetColor(clBlue);
    canvas.AssignChartPen(hidden);
    EXPECT_EQ(canvas.Pen().Style(), psClear);
    EXPECT_EQ(canvas.Pen().Color(), clRed) << "an invisible pen changes only the style";
    EXPECT_EQ(canvas.Pen().Width(), 3);

    TDottedGrayPen dots;
    dots.SetSmallDots(true);
    dots.SetColor(clBtnShadow);
    canvas.AssignChartPen(dots);
    EXPECT_EQ(canvas.Pen().Style(), psAlternate);
    EXPECT_EQ(canvas.Pen().Width(), 1);
    EXPECT_EQ(canvas.Pen().Color(), ColorToRGB(clBtnShadow));
    dots.SetWidth(2);
    canvas.AssignChartPen(dots);
    EXPECT_EQ(canvas.Pen().Style(), psDot);
    EXPECT_EQ(canvas.Pen().Width(), 2);
}

TEST(SurfaceState, FrontPlaneSuspendsAndRestores3D)
{
    TTeeCanvas3D canvas;
    TView3DOptions options;
    canvas.PrepareSurface(TCanvas(), &options, TRect{0, 0, 10, 10}, true);
    EXPECT_TRUE(canvas.Is3D());
    canvas.BeginFrontPlane();
    EXPECT_FALSE(canvas.Is3D());
    canvas.EndFrontPlane();
    EXPECT_TRUE(canvas.Is3D());
    canvas.PrepareSurface(TCanvas(), &options, TRect{0, 0, 10, 10}, false);
    EXPECT_FALSE(canvas.Is3D());
    EXPECT_FALSE(canvas.IsOrthogonal());
    EXPECT_EQ(canvas.ZoomFactor(), 1.0);
}

}  // namespace
