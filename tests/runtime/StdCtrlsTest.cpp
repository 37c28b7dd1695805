// The standard controls' behaviour the window relies on.
#include "runtime/Dialogs.h"
#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"
#include "runtime/qt/QtControls.h"

#include "ControlWidgets.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(StrToInt, ReadsDecimalIntegersOnly)
{
    EXPECT_EQ(StrToInt("9600"), 9600);
    EXPECT_EQ(StrToInt(" 60 "), 60);
    EXPECT_EQ(StrToInt("+5"), 5);
    EXPECT_EQ(StrToInt("-12"), -12);
    for (const char* bad : {"", " ", "60s", "1.5", "+-5", "0x10", "99999999999"}) {
        SCOPED_TRACE(bad);
        try {
            StrToInt(bad);
            ADD_FAILURE() << "accepted";
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), std::string("'") + bad + "' is not a valid integer value");
        }
    }
}

int CountPixels(const QImage& image, QRgb color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == color;
    return count;
}

TEST(Label, SizesItselfToItsTextUnlessFixed)
{
    TForm parent(300, 100);
    TLabel label(&parent);
    label.SetFont(MakeFont("Verdana", 21, true));
    label.SetCaption("N/A");
    const int shortWidth = label.Width();
    label.SetCaption("2026-12-08   23:59:59");
    EXPECT_GT(label.Width(), 3 * shortWidth);

    // Right aligned, it keeps its right edge.
    label.SetAlignment(taRightJustify);
    label.SetBounds(100, 10, label.Width(), label.Height());
    const int right = label.BoundsRect().Right;
    label.SetCaption("N/A");
    EXPECT_EQ(label.BoundsRect().Right, right);
    EXPECT_EQ(label.Width(), shortWidth);

    label.SetAutoSize(false);
    label.SetBounds(0, 0, 40, 25);
    label.SetCaption("a much longer text than before");
    EXPECT_EQ(std::pair(label.Width(), label.Height()), std::pair(40, 25));
}

TEST(Label, DisabledTextIsEngravedInTheShadowColour)
{
    TForm parent(120, 40);
    parent.SetColor(clWhite);
    TLabel label(&parent);
    label.SetFont(MakeFont("Verdana", 27, true));
    label.SetFontColor(0xFF8000);
    label.SetCaption("00.00");

    const QImage enabled = Grab(parent).convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(CountPixels(enabled, ColorToPixel(0xFF8000)), 40);
    label.SetEnabled(false);
    const QImage disabled = Grab(parent).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(CountPixels(disabled, ColorToPixel(0xFF8000)), 0);
    EXPECT_GT(CountPixels(disabled, ColorToPixel(clBtnShadow)), 40);
}

TEST(ComboBox, AddingItemsNeverChoosesOne)
{
    TForm parent(200, 60);
    TComboBox editable(&parent, csDropDown);
    editable.AddItem("ttyUSB0");
    editable.AddItem("ttyUSB1");
    EXPECT_EQ(editable.Text(), "");
    EXPECT_EQ(editable.ItemIndex(), -1);
    editable.SetText("typed");
    editable.AddItem("ttyACM0");
    EXPECT_EQ(editable.Text(), "typed");
    editable.Clear();
    EXPECT_EQ(editable.Text(), "");
    EXPECT_EQ(editable.ItemCount(), 0);
    EXPECT_THROW(editable.Item(0), EListError);

    TComboBox list(&parent, csDropDownList);
    list.AddItem("9600");
    list.AddItem("19200");
    EXPECT_EQ(list.ItemIndex(), -1);
    list.SetItemIndex(0);
    EXPECT_EQ(list.Text(), "9600");
    // A list box's text is one of its items or nothing.
    list.SetText("19200");
    EXPECT_EQ(list.ItemIndex(), 1);
    list.SetText("4800");
    EXPECT_EQ(std::pair(list.ItemIndex(), list.Text()), std::pair(-1, std::string()));
    list.SetItemIndex(7);
    EXPECT_EQ(list.ItemIndex(), -1);
}

// The port list is 81 pixels wide, in its group box's 13-pixel font: the
// names it offers must show whole, not scrolled by a letter. A name that
// fits looks the same with the cursor at its end as at its start.
TEST(ComboBox, ANarrowBoxShowsAPortNameWhole)
{
    TForm parent(200, 60);
    TComboBox box(&parent, csDropDown);
    box.SetFont(MakeFont("Verdana", 13));
    box.SetBounds(10, 10, 81, 24);
    parent.Show();
    QLineEdit* edit = static_cast<QComboBox&>(Widget(box)).lineEdit();
    ASSERT_NE(edit, nullptr);
    for (const char* name : {"sim", "ttyUSB0", "ttyACM0", "COM12"}) {
        SCOPED_TRACE(name);
        box.SetText(name);
        edit->setCursorPosition(0);
        const QImage atStart = Grab(box);
        edit->end(false);
        const QImage atEnd = Grab(box);
        EXPECT_EQ(atStart, atEnd) << "the name scrolls to show its end";
    }
    // The arrow keeps the classic width: the text field ends 17 pixels and
    // the border before the box's right edge.
    EXPECT_EQ(edit->geometry().right(), box.Width() - 1 - 2 - 17);
}

TEST(ComboBox, AFailingDropDownHandlerIsReportedAndTheListStillOpens)
{
    std::vector<std::string> reported;
    SetExceptionHandler([&](const std::exception& error) { reported.push_back(error.what()); });
    TForm parent(200, 60);
    TComboBox box(&parent, csDropDown);
    box.SetOnDropDown([&](TObject*) {
        box.AddItem("ttyS0");
        throw Exception("Invalid data type for 'x'");
    });
    parent.Show();
    box.SetDroppedDown(true);
    EXPECT_EQ(reported, std::vector<std::string>{"Invalid data type for 'x'"});
    EXPECT_EQ(box.ItemCount(), 1) << "the items added before the error stay";
    EXPECT_TRUE(box.DroppedDown());
    box.SetDroppedDown(false);
    EXPECT_FALSE(box.DroppedDown());
    SetExceptionHandler({});
}

TEST(CheckBox, ClickEventFollowsEveryChangeOfState)
{
    TForm parent(200, 60);
    TCheckBox box(&parent);
    int clicks = 0;
    box.SetOnClick([&](TObject* sender) {
        EXPECT_EQ(sender, &box);
        ++clicks;
    });
    box.SetChecked(true);
    box.SetChecked(true);
    box.SetChecked(false);
    EXPECT_EQ(clicks, 2);
}

TEST(Form, ActivatesOnceWhenFirstShown)
{
    TForm form(200, 100);
    int activations = 0;
    form.SetOnActivate([&](TObject*) { ++activations; });
    EXPECT_EQ(activations, 0);
    form.Show();
    form.Hide();
    form.Show();
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(Widget(form).size(), QSize(200, 100));

    // Closed, by the program or the user, it can be shown again.
    form.Close();
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(Widget(form).isVisible());
    form.Show();
    EXPECT_TRUE(Widget(form).isVisible());
    Widget(form).close();
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(Widget(form).minimumSize(), Widget(form).maximumSize());
}

}  // namespace
