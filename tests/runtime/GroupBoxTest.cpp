// The group box's classic look: the frame's top line through the middle of
// the caption, the caption on it, and the etched frame.
#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"
#include "runtime/qt/QtControls.h"

#include "ControlWidgets.h"

#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

TEST(GroupBoxLayout, TopLineRunsThroughTheMiddleOfTheCaption)
{
    for (int textHeight = 2; textHeight <= 40; ++textHeight) {
        SCOPED_TRACE(textHeight);
        const GroupBoxGeometry geometry = GroupBoxLayout(QSize(281, 57), textHeight, 90);
        // The shadow line and the highlight line below it share the
        // caption's middle: for an even height the two middle rows, for
        // an odd one the middle row and the one above.
        const int shadowRow = geometry.frame.top();
        EXPECT_GE(2 * (shadowRow + 1), textHeight - 1);
        EXPECT_LE(2 * (shadowRow + 1), textHeight);
        EXPECT_EQ(geometry.caption.top(), 0);
        EXPECT_EQ(geometry.caption.height(), textHeight);
    }
    EXPECT_EQ(GroupBoxLayout(QSize(100, 40), 1, 10).frame.top(), 0) << "never above the box";
}

TEST(GroupBoxLayout, FrameAndItsHighlightFillTheBoxAndTheCaptionIsIndented)
{
    const QSize size(569, 401);
    const GroupBoxGeometry geometry = GroupBoxLayout(size, 16, 52);
    EXPECT_EQ(geometry.frame.left(), 0);
    // The highlight, one pixel right and below, ends on the last column and row.
    const QRect highlight = geometry.frame.translated(1, 1);
    EXPECT_EQ(highlight.right(), size.width() - 1);
    EXPECT_EQ(highlight.bottom(), size.height() - 1);
    EXPECT_EQ(geometry.caption, QRect(GroupBoxGeometry::kCaptionIndent, 0, 52, 16));
    EXPECT_GE(GroupBoxGeometry::kCaptionIndent, 6);
    EXPECT_LE(GroupBoxGeometry::kCaptionIndent, 10);

    EXPECT_TRUE(GroupBoxLayout(size, 16, 0).caption.isEmpty()) << "no caption, no gap in the line";
}

// A box on a grey parent, so that the white highlight line shows too.
class GroupBoxPicture : public ::testing::Test {
protected:
    static constexpr TColor kFace = 0xC0C0C0;
    static constexpr QSize kSize{200, 57};

    GroupBoxPicture()
    {
        parent.SetColor(kFace);
        box.SetFont(MakeFont("Verdana", 13));
        box.SetCaption(" Connection ");
        box.SetBounds(10, 10, kSize.width(), kSize.height());
    }

    QImage Picture() { return Grab(box).convertToFormat(QImage::Format_RGB32); }

    // Where the caption's ink lies in the rows above the top line, where
    // nothing but the caption is drawn; an empty rectangle without ink.
    static QRect InkAbove(const QImage& image, int row)
    {
        QRect ink;
        for (int y = 0; y < row; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != ColorToPixel(kFace))
                    ink |= QRect(x, y, 1, 1);
        return ink;
    }

    // The number of pixels above `row` whose grey level `matches`.
    template <class Predicate>
    static int CountAbove(const QImage& image, int row, Predicate matches)
    {
        int count = 0;
        for (int y = 0; y < row; ++y)
            for (int x = 0; x < image.width(); ++x)
                count += matches(qGray(image.pixel(x, y)));
        return count;
    }

    static int DarkestAbove(const QImage& image, int row)
    {
        int darkest = 255;
        for (int y = 0; y < row; ++y)
            for (int x = 0; x < image.width(); ++x)
                darkest = std::min(darkest, qGray(image.pixel(x, y)));
        return darkest;
    }

    // The first row of column 0 in the shadow colour: the top line's row.
    static int TopLineRow(const QImage& image)
    {
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(0, y) == ColorToPixel(clBtnShadow))
                return y;
        return -1;
    }

    TForm parent{240, 80};
    TGroupBox box{&parent};
};

TEST_F(GroupBoxPicture, TopLineLiesAtTheMiddleOfTheCaptionsHeight)
{
    const QImage image = Picture();
    const int textHeight = QFontMetrics(Widget(box).font()).height();
    const int row = TopLineRow(image);
    ASSERT_GE(row, 0) << "no frame in the shadow colour";
    EXPECT_LE(std::abs(2 * row + 1 - textHeight), 2) << "row " << row << ", text height " << textHeight;

    const QRect ink = InkAbove(image, row);
    ASSERT_FALSE(ink.isEmpty()) << "no caption above the line";
    EXPECT_LT(ink.top(), row - 2) << "the capitals rise well above the line";
}

TEST_F(GroupBoxPicture, EtchedFrameOnAllFourSides)
{
    const QImage image = Picture();
    const int row = TopLineRow(image);
    ASSERT_GE(row, 0);
    const QRgb shadow = ColorToPixel(clBtnShadow);
    const QRgb highlight = ColorToPixel(clBtnHighlight);
    ASSERT_NE(shadow, ColorToPixel(kFace));
    ASSERT_NE(highlight, ColorToPixel(kFace));
    const int right = kSize.width() - 1;
    const int bottom = kSize.height() - 1;
    const QString caption = QString::fromStdString(box.Caption());
    const int captionEnd = GroupBoxGeometry::kCaptionIndent + QFontMetrics(Widget(box).font()).horizontalAdvance(caption);
    for (int y = row; y < bottom; ++y) {
        SCOPED_TRACE(y);
        EXPECT_EQ(image.pixel(0, y), shadow);
        EXPECT_EQ(image.pixel(right - 1, y), shadow);
        if (y > row) {
            EXPECT_EQ(image.pixel(right, y), highlight);
            EXPECT_EQ(image.pixel(1, y), y == bottom - 1 ? shadow : highlight);
        }
    }
    for (int x = 0; x < right; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(image.pixel(x, bottom - 1), shadow);
        EXPECT_EQ(image.pixel(x, bottom), x == 0 ? ColorToPixel(kFace) : highlight);
        if (x < GroupBoxGeometry::kCaptionIndent || x >= captionEnd) {
            EXPECT_EQ(image.pixel(x, row), shadow);
            if (x > 0 && x < right - 1) {
                EXPECT_EQ(image.pixel(x, row + 1), highlight);
            }
        }
    }
    EXPECT_EQ(image.pixel(right, row), ColorToPixel(kFace)) << "the highlight starts a row lower";
    EXPECT_EQ(image.pixel(3, row + 3), ColorToPixel(kFace)) << "the inside shows the background";
}

TEST_F(GroupBoxPicture, CaptionStartsAFewPixelsInAndInterruptsTheLine)
{
    const QImage image = Picture();
    const int row = TopLineRow(image);
    ASSERT_GE(row, 0);
    const QFontMetrics metrics(Widget(box).font());
    const int blank = metrics.horizontalAdvance(' ');
    const int captionLeft = GroupBoxGeometry::kCaptionIndent;
    const int captionEnd = captionLeft + metrics.horizontalAdvance(QString::fromStdString(box.Caption()));

    // The leading blank is part of the caption: ink starts after it.
    const QRect ink = InkAbove(image, row);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), captionLeft + blank - 1);
    EXPECT_LE(ink.left(), captionLeft + blank + 3);
    EXPECT_LT(ink.right(), captionEnd - blank + 2);

    // Behind the blanks at either end the line is not drawn at all (behind
    // the letters, ink stands where the line would run).
    for (int y : {row, row + 1}) {
        SCOPED_TRACE(y);
        EXPECT_EQ(image.pixel(captionLeft - 1, y), y == row ? ColorToPixel(clBtnShadow) : ColorToPixel(clBtnHighlight));
        for (int x = captionLeft; x < captionLeft + blank; ++x)
            EXPECT_EQ(image.pixel(x, y), ColorToPixel(kFace)) << x;
        for (int x = captionEnd - blank + 1; x < captionEnd; ++x)
            EXPECT_EQ(image.pixel(x, y), ColorToPixel(kFace)) << x;
        EXPECT_EQ(image.pixel(captionEnd, y), y == row ? ColorToPixel(clBtnShadow) : ColorToPixel(clBtnHighlight));
    }
}

TEST_F(GroupBoxPicture, DisabledCaptionIsEngravedInTheShadowColour)
{
    const int row = TopLineRow(Picture());
    ASSERT_GE(row, 0);
    const int shadow = qGray(ColorToPixel(clBtnShadow));
    const int face = qGray(ColorToPixel(kFace));
    ASSERT_LT(shadow, face - 20);
    EXPECT_LT(DarkestAbove(Picture(), row), shadow - 20) << "enabled, the caption is in the text colour";

    box.SetEnabled(false);
    const QImage disabled = Picture();
    EXPECT_EQ(TopLineRow(disabled), row) << "the frame stays as it is";
    EXPECT_GE(DarkestAbove(disabled, row), shadow - 2) << "nothing darker than the shadow";
    EXPECT_GT(CountAbove(disabled, row, [&](int gray) { return gray < face - 20; }), 10) << "the shadow copy";
    EXPECT_GT(CountAbove(disabled, row, [&](int gray) { return gray > face + 20; }), 5) << "the light copy";
}

}  // namespace
