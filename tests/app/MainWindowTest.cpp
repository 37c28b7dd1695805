// The main window as the design lays it out, and its two looks.
#include "app/Unit1.h"

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
    QRect geometry;
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

QString CaptionOf(QWidget* control)
{
    if (auto* label = qobject_cast<TLabel*>(control))
        return label->Caption();
    if (auto* box = qobject_cast<QGroupBox*>(control))
        return box->title();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* combo = qobject_cast<TComboBox*>(control))
        return combo->Text();
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
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
    EXPECT_EQ(form.size(), QSize(586, 659));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "not resizable";
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(form.Color(), clWhite);
    EXPECT_EQ(form.font().family(), "Verdana");
    EXPECT_EQ(form.font().pixelSize(), 11);

    for (const ControlDesign& design : kControls) {
        SCOPED_TRACE(design.name);
        auto* control = form.findChild<QWidget*>(design.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName(), design.parent);
        EXPECT_EQ(control->geometry(), design.geometry);
        if (design.caption != nullptr) {
            EXPECT_EQ(CaptionOf(control), design.caption);
        }
        EXPECT_EQ(control->font().family(), "Verdana");
        EXPECT_EQ(control->font().pixelSize(), design.fontPixels);
        EXPECT_EQ(control->font().bold(), design.bold);
        EXPECT_EQ(control->isEnabled(), design.enabled);
    }
}

TEST_F(MainWindow, ControlSettingsAtStart)
{
    EXPECT_EQ(form.Label1->FontColor(), kReadingBlue);
    EXPECT_EQ(form.Label4->Alignment(), taCenter);
    EXPECT_FALSE(form.Label5->AutoSize());

    EXPECT_EQ(form.ComboBox1->Style(), csDropDown);
    EXPECT_EQ(form.ComboBox1->count(), 0);
    EXPECT_EQ(form.ComboBox1->Color(), kMarkerBlue);
    EXPECT_EQ(form.ComboBox2->Style(), csDropDownList);
    EXPECT_EQ(form.ComboBox3->Style(), csDropDownList);
    QStringList intervals;
    for (int i = 0; i < form.ComboBox3->count(); ++i)
        intervals << form.ComboBox3->itemText(i);
    EXPECT_EQ(intervals, QStringList({"1", "2", "5", "10", "15", "30", "60", "120", "180", "240", "300", "600"}));
    EXPECT_EQ(form.ComboBox3->ItemIndex(), 6);

    EXPECT_TRUE(form.CheckBox1->Checked());
    EXPECT_TRUE(form.CheckBox2->Checked());
    EXPECT_TRUE(form.CheckBox3->Checked());
    EXPECT_FALSE(form.CheckBox4->Checked());
    EXPECT_EQ(form.CheckBox4->Color(), clWhite);
    EXPECT_TRUE(form.LabeledEdit1->ReadOnly());
    EXPECT_EQ(form.LabeledEdit1->EditLabel()->Caption(), "Filename:  ");
    EXPECT_EQ(form.LabeledEdit1->EditLabel()->geometry(), QRect(15, 61, 73, 16)) << "left of the edit, centred";
    EXPECT_FALSE(form.LabeledEdit1->EditLabel()->isEnabled());

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
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QString expected = QCoreApplication::applicationDirPath() + "/umblog.txt";
    EXPECT_EQ(form.LabeledEdit1->Text(), expected);
    EXPECT_FALSE(form.SaveEnabled());
    EXPECT_EQ(QApplication::focusWidget(), form.ComboBox1);

    // Only the first showing runs it: a path the user chose stays.
    form.LabeledEdit1->SetText("/tmp/chosen.txt");
    form.hide();
    form.show();
    EXPECT_EQ(form.LabeledEdit1->Text(), "/tmp/chosen.txt");
}

TEST_F(MainWindow, TabOrderRunsThroughTheBoxesInTheirOrder)
{
    const QList<QWidget*> expected{form.ComboBox1, form.Button1,   form.ComboBox2,    form.ComboBox3,
                                   form.CheckBox1, form.CheckBox2, form.CheckBox3,    form.LabeledEdit1,
                                   form.Button2,   form.CheckBox4};
    QWidget* at = form.ComboBox1;
    for (QWidget* next : expected.mid(1)) {
        at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus || at->focusProxy() != nullptr)
            at = at->nextInFocusChain();
        EXPECT_EQ(at, next) << at->objectName().toStdString();
    }
}

TEST_F(MainWindow, EnableCtrlsSwitchesTheTwelveReadingControls)
{
    const QList<QWidget*> reading{form.Label1, form.Label2,    form.Label3,  form.Label5,
                                  form.Label9, form.CheckBox2, form.CheckBox3, form.CheckBox4,
                                  form.Gauge1, form.Chart1,    form.LabeledEdit1, form.Button2};
    form.EnableCtrls(1);
    for (QWidget* control : reading)
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_EQ(form.ComboBox1->Color(), kMarkerBlue);
    EXPECT_FALSE(form.CheckBox1->isEnabled()) << "the reading is always logged";
    EXPECT_FALSE(form.ComboBox2->isEnabled());

    form.Gauge1->SetMinValue(1000);
    form.Gauge1->SetProgress(2000);
    form.CheckBox4->SetChecked(true);
    form.EnableCtrls(0);
    for (QWidget* control : reading)
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_EQ(form.ComboBox1->Color(), clWhite);
    EXPECT_EQ(form.Gauge1->Progress(), 1500) << "1500, not the changed minimum";
    EXPECT_TRUE(form.SaveEnabled()) << "saving goes on while idle";
    EXPECT_EQ(form.CheckBox4->Color(), kMarkerBlue);
    EXPECT_TRUE(form.ComboBox3->isEnabled());
    EXPECT_TRUE(form.Button1->isEnabled());

    form.EnableCtrls(2);
    EXPECT_FALSE(form.Label1->isEnabled());
    EXPECT_EQ(form.ComboBox1->Color(), clWhite);
}

TEST_F(MainWindow, SaveBoxSwitchesSavingAndItsColour)
{
    form.EnableCtrls(1);
    // The box's far right is background, whatever the style draws left.
    const auto background = [&] { return form.CheckBox4->grab().toImage().pixel(59, 8); };
    QTest::mouseClick(form.CheckBox4, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(form.SaveEnabled());
    EXPECT_EQ(form.CheckBox4->Color(), kMarkerBlue);
    EXPECT_EQ(background(), ToQRgb(kMarkerBlue));
    QTest::mouseClick(form.CheckBox4, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_FALSE(form.SaveEnabled());
    EXPECT_EQ(form.CheckBox4->Color(), clWhite);
    EXPECT_EQ(background(), ToQRgb(clWhite));
}

TEST_F(MainWindow, TheHiddenLabelStaysCoveredByTheConnectionBox)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QImage withLabel = form.grab().toImage();
    form.Label7->hide();
    const QImage withoutLabel = form.grab().toImage();
    EXPECT_TRUE(form.Label7->geometry().intersects(form.GroupBox4->geometry()));
    EXPECT_EQ(withLabel, withoutLabel);
}

}  // namespace
