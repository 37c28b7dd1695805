// The main window's group boxes as its layout assumes them: each frame's top
// line through the middle of its caption, every control of a box inside the
// frame and below that line, no control covering a frame line.
#include "app/Unit1.h"

#include "FakeCommApi.h"
#include "ControlWidgets.h"
#include "runtime/qt/QtControls.h"

#include <QFontMetrics>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class MainWindowGroupBoxes : public ::testing::Test {
protected:
    MainWindowGroupBoxes()
    {
        form.Show();
        exposed = QTest::qWaitForWindowExposed(&Widget(form));
        window = Grab(form).convertToFormat(QImage::Format_RGB32);
    }

    // The row, in window coordinates, where the frame of `box` first shows
    // the shadow colour in the box's left column; -1 where it never does.
    int TopLineRow(const TGroupBox& box) const
    {
        const QRect area = Widget(box).geometry();
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (window.pixel(area.left(), y) == ColorToPixel(clBtnShadow))
                return y;
        return -1;
    }

    std::vector<TGroupBox*> Boxes() const
    {
        return {form.GroupBox4, form.GroupBox1, form.GroupBox2, form.GroupBox3, form.GroupBox5};
    }

    FakeCommApi api;
    TForm1 form{api};
    bool exposed = false;
    QImage window;
};

TEST_F(MainWindowGroupBoxes, TopLineRunsThroughTheMiddleOfEachCaption)
{
    ASSERT_TRUE(exposed);
    for (const TGroupBox* box : Boxes()) {
        SCOPED_TRACE(box->Name());
        const int row = TopLineRow(*box);
        ASSERT_GE(row, 0) << "no frame in the shadow colour";
        const int textHeight = QFontMetrics(Widget(*box).font()).height();
        const int inBox = row - Widget(*box).geometry().top();
        EXPECT_LE(std::abs(2 * inBox + 1 - textHeight), 2) << "row " << inBox << ", text height " << textHeight;

        // The caption's ink lies on both sides of the line, within the
        // caption's place, and nothing covers it.
        const int captionLeft = Widget(*box).geometry().left() + GroupBoxGeometry::kCaptionIndent;
        const QRect caption(captionLeft, Widget(*box).geometry().top(),
                            QFontMetrics(Widget(*box).font()).horizontalAdvance(QString::fromStdString(box->Caption())), textHeight);
        int above = 0;
        int below = 0;
        for (int y = caption.top(); y <= caption.bottom(); ++y)
            for (int x = caption.left(); x <= caption.right(); ++x)
                if (qGray(window.pixel(x, y)) < 192)
                    ++(y < row ? above : below);
        EXPECT_GT(above, 10);
        EXPECT_GT(below, 10);
    }
}

TEST_F(MainWindowGroupBoxes, FrameLinesRunUnbrokenButForTheCaption)
{
    ASSERT_TRUE(exposed);
    const QRgb shadow = ColorToPixel(clBtnShadow);
    ASSERT_NE(shadow, ColorToPixel(clWhite)) << "the frame must show on the white window";
    for (const TGroupBox* box : Boxes()) {
        SCOPED_TRACE(box->Name());
        const QRect area = Widget(*box).geometry();
        const int row = TopLineRow(*box);
        ASSERT_GE(row, 0);
        const QFontMetrics metrics(Widget(*box).font());
        const int captionLeft = area.left() + GroupBoxGeometry::kCaptionIndent;
        const int captionEnd = captionLeft + metrics.horizontalAdvance(QString::fromStdString(box->Caption()));
        // The shadow lines: top and left on the box's edge, right and bottom
        // one pixel inside it, where the highlight runs.
        int broken = 0;
        for (int x = area.left(); x < area.right(); ++x) {
            broken += (x < captionLeft || x >= captionEnd) && window.pixel(x, row) != shadow;
            broken += window.pixel(x, area.bottom() - 1) != shadow;
        }
        for (int y = row; y < area.bottom(); ++y) {
            broken += window.pixel(area.left(), y) != shadow;
            broken += window.pixel(area.right() - 1, y) != shadow;
        }
        EXPECT_EQ(broken, 0) << "pixels of the frame covered or missing";
        // Behind the caption's leading blank the line gives way to the text.
        EXPECT_EQ(window.pixel(captionLeft + 1, row), ColorToPixel(clWhite));
    }
}

TEST_F(MainWindowGroupBoxes, EveryControlLiesInsideItsFrameBelowTheTopLine)
{
    ASSERT_TRUE(exposed);
    for (const TGroupBox* box : Boxes()) {
        const int row = TopLineRow(*box) - Widget(*box).geometry().top();
        ASSERT_GE(row, 0) << box->Name();
        // Inside the shadow lines and clear of the highlight below the top line.
        const QRect frame(QPoint(1, row + 2), QPoint(box->Width() - 2, box->Height() - 2));
        for (const QWidget* control : Widget(*box).findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control->isHidden())
                continue;
            SCOPED_TRACE(box->Name() + " " + control->objectName().toStdString());
            EXPECT_TRUE(frame.contains(control->geometry())) << "frame " << frame.top() << ".." << frame.bottom()
                                                             << ", control from " << control->geometry().top();
        }
    }
}

}  // namespace
