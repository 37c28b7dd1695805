// The main window's chart after a fixed set of readings, compared with the
// picture checked in beside this test. Set UMBRASCOPE_UPDATE_GOLDEN=1 to
// write a new picture after a deliberate change of the drawing, and look at
// it before committing it.
#include "ChartPictureReadings.h"
#include "WindowFixture.h"
#include "ControlWidgets.h"

#include <QImage>

#include <string>

#ifndef GOLDEN_DIR
#error "the test target must define GOLDEN_DIR"
#endif

namespace {

const QString kGolden = QStringLiteral(GOLDEN_DIR "/main-window-chart.png");

// Pixels may differ only where text is drawn (the axis labels left of the
// plot), and only by antialiasing: the same pixels are ink in both.
bool SameButForTextAntialiasing(const QImage& actual, const QImage& expected, int plotLeft, std::string& why)
{
    if (actual.size() != expected.size()) {
        why = "sizes differ";
        return false;
    }
    int inkDifferences = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb e = expected.pixel(x, y);
            if (a == e)
                continue;
            if (x >= plotLeft - 8) {
                why = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") differs outside the labels";
                return false;
            }
            inkDifferences += (qGray(a) < 128) != (qGray(e) < 128);
        }
    }
    if (inkDifferences > 12) {
        why = std::to_string(inkDifferences) + " label pixels changed from ink to paper or back";
        return false;
    }
    return true;
}

class MainWindowChartPicture : public WindowFixture {};

TEST_F(MainWindowChartPicture, MatchesTheCheckedInPicture)
{
    Feed("HELLO#");
    for (int i = 0; i < kChartPictureReadings; ++i)
        Feed(ChartPictureReading(i));
    ASSERT_EQ(form.Series1->PointCount(), kChartPictureReadings);

    const QImage picture = Grab(*form.Chart1).convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIsSet("UMBRASCOPE_UPDATE_GOLDEN")) {
        ASSERT_TRUE(picture.save(kGolden));
        GTEST_SKIP() << "wrote " << kGolden.toStdString();
    }
    QImage golden(kGolden);
    ASSERT_FALSE(golden.isNull()) << "missing " << kGolden.toStdString();
    std::string why;
    EXPECT_TRUE(SameButForTextAntialiasing(picture, golden.convertToFormat(QImage::Format_RGB32),
                                           form.Chart1->PlotRect().Left, why))
        << why;
}

}  // namespace
