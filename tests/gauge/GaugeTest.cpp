// TGauge as a widget: property rules, when it paints, and the pixels it
// paints.
#include "gauge/Gauges.h"
#include "runtime/Forms.h"

#include "runtime/SysUtils.h"
#include "runtime/qt/QtPainter.h"
#include "EventLoop.h"
#include "GaugeLooks.h"
#include "ControlWidgets.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <tuple>

namespace {

TColor PixelAt(const QImage& image, int x, int y)
{
    return PixelToColor(image.pixel(x, y));
}

std::string ErrorOf(const std::function<void()>& write)
{
    try {
        write();
    } catch (const EInvalidOperation& e) {
        return e.Message();
    }
    return "no error";
}

TEST(Gauge, Defaults)
{
    TGauge gauge;
    EXPECT_EQ(std::tuple(gauge.MinValue(), gauge.MaxValue(), gauge.Progress()), std::tuple(0, 100, 0));
    EXPECT_EQ(std::tuple(gauge.Kind(), gauge.ShowText(), gauge.BorderStyle()), std::tuple(gkHorizontalBar, true, bsSingle));
    EXPECT_EQ(std::tuple(gauge.ForeColor(), gauge.BackColor(), gauge.Color()), std::tuple(clBlack, clWhite, clWindow));
    EXPECT_EQ(std::pair(gauge.Width(), gauge.Height()), std::pair(100, 100));
    EXPECT_TRUE(Widget(gauge).testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST(Gauge, RangeRules)
{
    TGauge gauge;
    gauge.SetProgress(-5);
    EXPECT_EQ(gauge.Progress(), 0);
    gauge.SetProgress(250);
    EXPECT_EQ(gauge.Progress(), 100);
    gauge.SetMaxValue(60);  // pulls Progress down
    EXPECT_EQ(gauge.Progress(), 60);
    gauge.SetMinValue(60);  // equal to MaxValue: accepted
    EXPECT_EQ(gauge.FilledPercent(), 0);
    EXPECT_EQ(ErrorOf([&] { gauge.SetMinValue(61); }), "Value must be between -2147483647 and 59");
    EXPECT_EQ(ErrorOf([&] { gauge.SetMaxValue(59); }), "Value must be between 61 and 2147483647");
    EXPECT_EQ(std::pair(gauge.MinValue(), gauge.MaxValue()), std::pair(60, 60));
    gauge.SetMaxValue(2500);
    gauge.SetProgress(2000);
    gauge.SetMinValue(1500);
    EXPECT_EQ(gauge.FilledPercent(), 50);
    gauge.SetMinValue(2100);  // pushes Progress up
    EXPECT_EQ(gauge.Progress(), 2100);
    // The whole 32-bit range is wider than 32 bits can count.
    gauge.SetMinValue(INT_MIN);
    gauge.SetMaxValue(INT_MAX);
    gauge.SetProgress(0);
    EXPECT_EQ(gauge.FilledPercent(), 50);
}

TEST(Gauge, LoadingAcceptsTheEndsInAnyOrder)
{
    TGauge gauge;
    gauge.BeginLoading();
    gauge.SetMinValue(1500);
    EXPECT_EQ(gauge.Progress(), 1500);
    gauge.SetMaxValue(1000);
    gauge.SetMaxValue(2500);
    gauge.EndLoading();
    EXPECT_EQ(std::pair(gauge.MinValue(), gauge.MaxValue()), std::pair(1500, 2500));
    EXPECT_THROW(gauge.SetMinValue(3000), EInvalidOperation);
}

class CountingGauge : public TGauge {
public:
    using TGauge::TGauge;
    int Paints = 0;

protected:
    void Paint(TPainter& painter) override
    {
        ++Paints;
        TGauge::Paint(painter);
    }
};

TEST(Gauge, PaintsAtOnceOnlyWhenTheFaceChanges)
{
    TForm window(60, 400);
    auto* gauge = new CountingGauge(&window);
    gauge->SetMaxValue(2500);
    gauge->SetMinValue(1500);
    gauge->SetProgress(1950);
    window.Show();
    ASSERT_TRUE(WaitUntil([&] { return gauge->Paints > 0; }));
    ProcessMessages();

    const struct {
        const char* what;
        std::function<void()> write;
        int paints;
    } steps[] = {
        {"Progress, same percent", [&] { gauge->SetProgress(1954); }, 0},
        {"Progress, next percent", [&] { gauge->SetProgress(1960); }, 1},
        {"Progress unchanged", [&] { gauge->SetProgress(1960); }, 0},
        {"Progress clamped", [&] { gauge->SetProgress(9999); }, 1},
        {"Progress clamped again", [&] { gauge->SetProgress(3000); }, 0},
        {"MinValue unchanged", [&] { gauge->SetMinValue(1500); }, 0},
        {"MinValue", [&] { gauge->SetMinValue(1400); }, 1},
        {"MinValue refused", [&] { EXPECT_ANY_THROW(gauge->SetMinValue(2600)); }, 0},
        {"MaxValue", [&] { gauge->SetMaxValue(2600); }, 1},
        {"Kind unchanged", [&] { gauge->SetKind(gkHorizontalBar); }, 0},
        {"Kind", [&] { gauge->SetKind(gkVerticalBar); }, 1},
        {"ShowText", [&] { gauge->SetShowText(false); }, 1},
        {"BorderStyle", [&] { gauge->SetBorderStyle(bsNone); }, 1},
        {"ForeColor", [&] { gauge->SetForeColor(clRed); }, 1},
        {"BackColor", [&] { gauge->SetBackColor(clYellow); }, 1},
        {"all unchanged", [&] {
             gauge->SetShowText(false);
             gauge->SetBorderStyle(bsNone);
             gauge->SetForeColor(clRed);
             gauge->SetBackColor(clYellow);
         }, 0},
    };
    for (const auto& step : steps) {
        gauge->Paints = 0;
        step.write();
        EXPECT_EQ(gauge->Paints, step.paints) << step.what;
    }
    EXPECT_EQ(gauge->Progress(), 2500);
    // Nothing was left pending for later either.
    gauge->Paints = 0;
    ProcessMessages();
    EXPECT_EQ(gauge->Paints, 0);
}

// The main window's gauge: 17 x 354, a vertical bar from 1500 to 2500.
TEST(Gauge, MainWindowBarPixels)
{
    const TColor blue = 16744448;
    TGauge gauge;
    gauge.SetBounds(0, 0, 17, 354);
    gauge.SetKind(gkVerticalBar);
    gauge.SetMaxValue(2500);
    gauge.SetMinValue(1500);
    gauge.SetForeColor(blue);
    gauge.SetShowText(false);
    for (const int progress : {1500, 1509, 1954, 2000, 2499, 2500}) {
        gauge.SetProgress(progress);
        const int percent = (progress - 1500) / 10;
        ASSERT_EQ(gauge.FilledPercent(), percent);
        const int filled = percent == 100 ? 352 : 353 * percent / 100;
        const QImage image = Grab(gauge);
        ASSERT_EQ(image.size(), QSize(17, 354));
        for (int y = 0; y < 354; ++y) {
            for (int x = 0; x < 17; ++x) {
                const bool frame = x == 0 || x == 16 || y == 0 || y == 353;
                const TColor expected = frame ? clBlack : y >= 353 - filled ? blue : clWhite;
                ASSERT_EQ(PixelAt(image, x, y), expected) << "(" << x << ", " << y << ") at " << progress;
            }
        }
    }
}

TEST(Gauge, EmptyRangeDrawsTheEmptyFace)
{
    TGauge empty, zero;
    empty.SetMinValue(50);
    empty.SetProgress(50);
    for (const TGaugeKind kind : {gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle}) {
        empty.SetKind(kind);
        zero.SetKind(kind);
        EXPECT_EQ(QtImage(*empty.FaceImage()), QtImage(*zero.FaceImage())) << int(kind);
    }
}

// The face as an image; a null image where there is no face.
QImage Render(const TGaugeLook& look, int width, int height, double devicePixelRatio = 1)
{
    const std::unique_ptr<TBitmap> face = RenderGauge(look, width, height, devicePixelRatio);
    return face ? QtImage(*face) : QImage();
}

// On a screen of twice the density the face has four device pixels to a
// pixel: bars and frame cover exactly the blocks of their pixels, curves and
// text are drawn at the device's resolution, not enlarged.
TEST(Gauge, FacesAtTwiceTheDensity)
{
    for (const int percent : {0, 37, 100}) {
        const QImage single = Render(Look(gkVerticalBar, percent), 36, 200);
        const QImage twice = Render(Look(gkVerticalBar, percent), 36, 200, 2);
        ASSERT_EQ(twice.size(), QSize(72, 400));
        EXPECT_EQ(twice.devicePixelRatio(), 2);
        QImage enlarged = single.scaled(72, 400, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        enlarged.setDevicePixelRatio(2);
        EXPECT_EQ(twice, enlarged) << percent << " %";
    }

    // Blocks of 2 x 2 device pixels that are not of one colour: detail
    // finer than a pixel.
    const auto mixedBlocks = [](const QImage& image) {
        int mixed = 0;
        for (int y = 0; y + 1 < image.height(); y += 2)
            for (int x = 0; x + 1 < image.width(); x += 2) {
                const QRgb c = image.pixel(x, y);
                mixed += image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c || image.pixel(x + 1, y + 1) != c;
            }
        return mixed;
    };
    EXPECT_EQ(mixedBlocks(Render(Look(gkVerticalBar, 37), 36, 200, 2)), 0);
    EXPECT_GT(mixedBlocks(Render(Look(gkPie, 30), 101, 101, 2)), 20);
    TGaugeLook text = Look(gkHorizontalBar, 42);
    text.ShowText = true;
    EXPECT_GT(mixedBlocks(Render(text, 101, 31, 2)), 10);

    // A widget paints its face at its own ratio; a fractional one covers the
    // widget to its last device pixel.
    const QImage fractional = Render(Look(gkHorizontalBar, 100), 35, 20, 1.5);
    ASSERT_EQ(fractional.size(), QSize(53, 30));
    EXPECT_EQ(PixelAt(fractional, 50, 15), clBlue);
    EXPECT_EQ(PixelAt(fractional, 52, 15), clBlack);  // the frame's right edge
    EXPECT_TRUE(Render(Look(gkPie, 5), 10, 10, 0).isNull());
}

}  // namespace
