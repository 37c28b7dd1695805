// The main window as the design lays it out, and its two looks.
#include "app/Unit1.h"

#include "ControlWidgets.h"
#include "FakeCommApi.h"
#include "runtime/Folders.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct ControlDesign {
    const char* name;
    const char* parent;
    TRect bounds;  // left, top, width, height as the design gives them
    const char* caption;  // nullptr: the control has none
    int fontPixels;
    bool bold;
    bool enabled;
};

const ControlDesign kControls[] = {
    {"GroupBox4", "Form1", {8, 8, 569, 57}, " Connection ", 13, false, true},
    {"Label6", "GroupBox4", {14, 24, 62, 16}, "COM Port", 13, false, true},
    {"ComboBox1", "GroupBox4", {86, 20, 81, 24}, "", 13, false, true},
    {"Label8", "GroupBox4", {182, 24, 67, 16}, "Baud Rate", 13, false, true},
    {"ComboBox2", "GroupBox4", {258, 20, 80, 24}, "9600", 13, false, false},
    {"Label4", "GroupBox4", {352, 14, 51, 32}, "Interval\n(s)", 13, false, true},
    {"ComboBox3", "GroupBox4", {412, 20, 80, 24}, "60", 13, false, true},
    {"Button1", "GroupBox4", {504, 18, 56, 25}, "START", 13, false, true},
    {"GroupBox1", "Form1", {8, 72, 281, 57}, " Sky background ", 13, false, true},
    {"Label1", "GroupBox1", {10, 16, 86, 32}, "00.00", 27, true, false},
    {"Label2", "GroupBox1", {106, 21, 139, 25}, "mag/arcsec", 21, true, false},
    {"Label3", "GroupBox1", {247, 17, 11, 18}, "2", 16, true, false},
    {"GroupBox2", "Form1", {296, 72, 281, 57}, " Date/Time ", 13, false, true},
    {"Label5", "GroupBox2", {10, 21, 263, 25}, "N/A", 21, true, false},
    {"GroupBox3", "Form1", {8, 136, 569, 401}, " Chart ", 13, false, true},
    {"Gauge1", "GroupBox3", {15, 32, 17, 354}, nullptr, 13, false, false},
    {"Chart1", "GroupBox3", {32, 17, 536, 383}, nullptr, 13, false, false},
    {"GroupBox5", "Form1", {8, 544, 569, 105}, " Save ", 13, false, true},
    {"Label9", "GroupBox5", {14, 27, 50, 16}, "To File:", 13, false, false},
    {"CheckBox1", "GroupBox5", {91, 27, 97, 17}, "UMB Value", 13, false, false},
    {"CheckBox2", "GroupBox5", {195, 27, 61, 17}, "Date", 13, false, false},
    {"CheckBox3", "GroupBox5", {267, 27, 61, 17}, "Time", 13, false, false},
    {"CheckBox4", "GroupBox5", {500, 27, 61, 17}, "SAVE", 13, false, false},
    {"LabeledEdit1", "GroupBox5", {91, 59, 438, 21}, "", 11, false, false},
    {"Button2", "GroupBox5", {536, 57, 25, 25}, "...", 13, false, false},
    {"Label7", "Form1", {254, 32, 54, 13}, "COM Port", 11, false, true},
};

std::string CaptionOf(const TControl* control)
{
    if (auto* label = dynamic_cast<const TLabel*>(control))
        return label->Caption();
    if (auto* box = dynamic_cast<const TGroupBox*>(control))
        return box->Caption();
    if (auto* button = dynamic_cast<const TButton*>(control))
        return button->Caption();
    if (auto* box = dynamic_cast<const TCheckBox*>(control))
        return box->Caption();
    if (auto* combo = dynamic_cast<const TComboBox*>(control))
        return combo->Text();
    if (auto* edit = dynamic_cast<const TLabeledEdit*>(control))
        return edit->Text();
    return {};
}

class MainWindow : public ::testing::Test {
protected:
    FakeCommApi api;
    TForm1 form{api};
};

TEST_F(MainWindow, EveryControlSitsWhereTheDesignPutsIt)
{
    EXPECT_EQ(form.Caption(), "Umbrascope");
    QWidget& window = Widget(form);
    EXPECT_EQ(window.size(), QSize(586, 659));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "not resizable";
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(form.Color(), clWhite);
    EXPECT_EQ(window.font().family(), "Verdana");
    EXPECT_EQ(window.font().pixelSize(), 11);

    for (const ControlDesign& design : kControls) {
        SCOPED_TRACE(design.name);
        const TControl* control = form.FindChildControl(design.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->Parent()->Name(), design.parent);
        const TRect& place = design.bounds;
        EXPECT_EQ(control->BoundsRect(), Rect(place.Left, place.Top, place.Left + place.Right, place.Top + place.Bottom));
        if (design.caption != nullptr) {
            EXPECT_EQ(CaptionOf(control), design.caption);
        }
        // What the window system was given, not only what the control keeps.
        const QWidget& widget = Widget(*control);
        EXPECT_EQ(widget.objectName().toStdString(), design.name);
        EXPECT_EQ(widget.geometry(), QRect(place.Left, place.Top, place.Right, place.Bottom));
        EXPECT_EQ(widget.font().family(), "Verdana");
        EXPECT_EQ(widget.font().pixelSize(), design.fontPixels);
        EXPECT_EQ(widget.font().bold(), design.bold);
        EXPECT_EQ(control->Enabled(), design.enabled);
        EXPECT_EQ(widget.isEnabled(), design.enabled);
    }
}

TEST_F(MainWindow, ControlSettingsAtStart)
{
    EXPECT_EQ(form.Label1->FontColor(), kReadingBlue);
    EXPECT_EQ(form.Label4->Alignment(), taCenter);
    EXPECT_FALSE(form.Label5->AutoSize());

    EXPECT_EQ(form.ComboBox1->Style(), csDropDown);
    EXPECT_EQ(form.ComboBox1->ItemCount(), 0);
    EXPECT_EQ(form.ComboBox1->Color(), kMarkerBlue);
    EXPECT_EQ(form.ComboBox2->Style(), csDropDownList);
    EXPECT_EQ(form.ComboBox3->Style(), csDropDownList);
    std::vector<std::string> intervals;
    for (int i = 0; i < form.ComboBox3->ItemCount(); ++i)
        intervals.push_back(form.ComboBox3->Item(i));
    EXPECT_EQ(intervals, (std::vector<std::string>{"1", "2", "5", "10", "15", "30", "60", "120", "180", "240", "300", "600"}));
    EXPECT_EQ(form.ComboBox3->ItemIndex(), 6);

    EXPECT_TRUE(form.CheckBox1->Checked());
    EXPECT_TRUE(form.CheckBox2->Checked());
    EXPECT_TRUE(form.CheckBox3->Checked());
    EXPECT_FALSE(form.CheckBox4->Checked());
    EXPECT_EQ(form.CheckBox4->Color(), clWhite);
    EXPECT_TRUE(form.LabeledEdit1->ReadOnly());
    EXPECT_EQ(form.LabeledEdit1->EditLabel()->Caption(), "Filename:  ");
    EXPECT_EQ(form.LabeledEdit1->EditLabel()->BoundsRect(), Rect(15, 61, 88, 77)) << "left of the edit, centred";
    EXPECT_EQ(Widget(*form.LabeledEdit1->EditLabel()).geometry(), QRect(15, 61, 73, 16));
    EXPECT_FALSE(form.LabeledEdit1->EditLabel()->Enabled());

    EXPECT_EQ(form.Gauge1->ForeColor(), kReadingBlue);
    EXPECT_EQ(form.Gauge1->Kind(), gkVerticalBar);
    EXPECT_EQ(form.Gauge1->MinValue(), 1500);
    EXPECT_EQ(form.Gauge1->MaxValue(), 2500);
    EXPECT_EQ(form.Gauge1->Progress(), 1500);
    EXPECT_FALSE(form.Gauge1->ShowText());

    EXPECT_EQ(form.Chart1->Color(), clWhite);
    EXPECT_EQ(form.Chart1->BackWall().Brush().Color(), clWhite);
    EXPECT_EQ(form.Chart1->BackWall().Brush().Style(), bsClear);
    EXPECT_FALSE(form.Chart1->Title().Visible());
    EXPECT_FALSE(form.Chart1->Legend().Visible());
    EXPECT_EQ(form.Chart1->LeftAxis()->Axis().Width(), 1);
    EXPECT_FALSE(form.Chart1->View3D());
    EXPECT_FALSE(form.Chart1->BottomAxis()->Visible());
    EXPECT_FALSE(form.Chart1->LeftAxis()->Automatic());
    EXPECT_EQ(form.Chart1->LeftAxis()->Minimum(), 15.0);
    EXPECT_EQ(form.Chart1->LeftAxis()->Maximum(), 25.0);
    EXPECT_EQ(form.Chart1->LeftAxis()->MinorTickCount(), 1);
    ASSERT_EQ(form.Chart1->SeriesCount(), 1);
    EXPECT_EQ(form.Chart1->Series(0), form.Series1);
    EXPECT_EQ(form.Series1->SeriesColor(), kReadingBlue);
    EXPECT_FALSE(form.Series1->ShowInLegend());
    EXPECT_FALSE(form.Series1->Pointer().Visible());
    EXPECT_EQ(form.Series1->XValues()->Order(), loAscending);
    EXPECT_EQ(form.Series1->YValues()->Order(), loNone);

    EXPECT_FALSE(form.Timer1->Enabled());
    EXPECT_EQ(form.Timer1->Interval(), 1000u);
    EXPECT_EQ(form.CommPortDriver1->Port(), pnCustom);
    EXPECT_EQ(form.CommPortDriver1->PortName(), "\\\\.\\COM2");
    EXPECT_EQ(form.CommPortDriver1->InBufSize(), 5000u);
    EXPECT_EQ(form.SaveDialog1->DefaultExt(), ".txt");
    EXPECT_EQ(form.SaveDialog1->NameFilters(), std::vector<std::string>{"Text Files (*.txt)"});
    EXPECT_EQ(form.SaveDialog1->Title(), "Save As");
}

TEST(DefaultLog, BesideTheProgramUnlessItsFolderCannotBeWritten)
{
    QTemporaryDir programFolder;
    const std::string folder = programFolder.path().toStdString() + "/";
    EXPECT_EQ(DefaultLogPath(folder), folder + "umblog.txt");
    // Installed under /usr the program's folder is not the user's to write.
    EXPECT_EQ(DefaultLogPath("/nonexistent/bin/"), UserDocumentsFolder() + "umblog.txt");
}

TEST_F(MainWindow, ShowingItPutsTheDefaultLogPathInPlaceAndFocusOnThePortList)
{
    EXPECT_EQ(form.LabeledEdit1->Text(), "") << "empty until the window is shown";
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Widget(form)));
    const QString expected = QCoreApplication::applicationDirPath() + "/umblog.txt";
    EXPECT_EQ(form.LabeledEdit1->Text(), expected.toStdString());
    EXPECT_FALSE(form.SaveEnabled());
    EXPECT_TRUE(form.ComboBox1->Focused());
    EXPECT_EQ(QApplication::focusWidget(), &Widget(*form.ComboBox1));

    // Only the first showing runs it: a path the user chose stays.
    form.LabeledEdit1->SetText("/tmp/chosen.txt");
    form.Hide();
    form.Show();
    EXPECT_EQ(form.LabeledEdit1->Text(), "/tmp/chosen.txt");
}

TEST_F(MainWindow, TabOrderRunsThroughTheBoxesInTheirOrder)
{
    const std::vector<TControl*> expected{form.ComboBox1, form.Button1,   form.ComboBox2,    form.ComboBox3,
                                          form.CheckBox1, form.CheckBox2, form.CheckBox3,    form.LabeledEdit1,
                                          form.Button2,   form.CheckBox4};
    QWidget* at = &Widget(*form.ComboBox1);
    for (std::size_t i = 1; i < expected.size(); ++i) {
        at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus || at->focusProxy() != nullptr)
            at = at->nextInFocusChain();
        EXPECT_EQ(at, &Widget(*expected[i])) << at->objectName().toStdString();
    }
}

TEST_F(MainWindow, EnableCtrlsSwitchesTheTwelveReadingControls)
{
    const std::vector<TControl*> reading{form.Label1, form.Label2,    form.Label3,       form.Label5,
                                         form.Label9, form.CheckBox2, form.CheckBox3,    form.CheckBox4,
                                         form.Gauge1, form.Chart1,    form.LabeledEdit1, form.Button2};
    form.EnableCtrls(1);
    for (TControl* control : reading)
        EXPECT_TRUE(Widget(*control).isEnabled()) << control->Name();
    EXPECT_EQ(form.ComboBox1->Color(), kMarkerBlue);
    EXPECT_FALSE(form.CheckBox1->Enabled()) << "the reading is always logged";
    EXPECT_FALSE(form.ComboBox2->Enabled());

    form.Gauge1->SetMinValue(1000);
    form.Gauge1->SetProgress(2000);
    form.CheckBox4->SetChecked(true);
    form.EnableCtrls(0);
    for (TControl* control : reading)
        EXPECT_FALSE(Widget(*control).isEnabled()) << control->Name();
    EXPECT_EQ(form.ComboBox1->Color(), clWhite);
    EXPECT_EQ(form.Gauge1->Progress(), 1500) << "1500, not the changed minimum";
    EXPECT_TRUE(form.SaveEnabled()) << "saving goes on while idle";
    EXPECT_EQ(form.CheckBox4->Color(), kMarkerBlue);
    EXPECT_TRUE(form.ComboBox3->Enabled());
    EXPECT_TRUE(form.Button1->Enabled());

    form.EnableCtrls(2);
    EXPECT_FALSE(form.Label1->Enabled());
    EXPECT_EQ(form.ComboBox1->Color(), clWhite);
}

TEST_F(MainWindow, SaveBoxSwitchesSavingAndItsColour)
{
    form.EnableCtrls(1);
    // The box's far right is background, whatever the style draws left.
    const auto background = [&] { return Grab(*form.CheckBox4).pixel(59, 8); };
    QTest::mouseClick(&Widget(*form.CheckBox4), Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(form.SaveEnabled());
    EXPECT_EQ(form.CheckBox4->Color(), kMarkerBlue);
    EXPECT_EQ(background(), ColorToPixel(kMarkerBlue));
    QTest::mouseClick(&Widget(*form.CheckBox4), Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_FALSE(form.SaveEnabled());
    EXPECT_EQ(form.CheckBox4->Color(), clWhite);
    EXPECT_EQ(background(), ColorToPixel(clWhite));
}

TEST_F(MainWindow, TheHiddenLabelStaysCoveredByTheConnectionBox)
{
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Widget(form)));
    const QImage withLabel = Grab(form);
    form.Label7->Hide();
    const QImage withoutLabel = Grab(form);
    EXPECT_TRUE(Widget(*form.Label7).geometry().intersects(Widget(*form.GroupBox4).geometry()));
    EXPECT_EQ(withLabel, withoutLabel);
}

}  // namespace
