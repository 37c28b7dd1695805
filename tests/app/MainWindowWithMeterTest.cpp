// The whole window with the meter simulator on a pseudo-terminal, driven as
// a user drives it: type the port, choose 1 s, press "START", watch.
#include "app/Unit1.h"

#include "EventLoop.h"
#include "MeterReply.h"
#include "MeterSimulator.h"
#include "ControlWidgets.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class WindowWithMeter : public ::testing::Test {
protected:
    WindowWithMeter()
    {
        SetDialogRecorder([this](const DialogRecord& record) { boxes.push_back(record.Caption + ": " + record.Text); });
        SetExceptionHandler(ShowException);
        form.Show();
    }
    ~WindowWithMeter() override
    {
        SetDialogRecorder({});
        SetExceptionHandler({});
    }

    void Start(const std::string& port)
    {
        QLineEdit* edit = static_cast<QComboBox&>(Widget(*form.ComboBox1)).lineEdit();
        edit->clear();
        QTest::keyClicks(edit, QString::fromStdString(port));
        form.ComboBox3->SetText("1");
        QTest::mouseClick(&Widget(*form.Button1), Qt::LeftButton);
    }

    bool Greeted() { return WaitUntil([&] { return form.Label1->Enabled() && form.Caption() == "Umbrascope"; }); }

    TForm1 form;
    std::vector<std::string> boxes;
};

TEST_F(WindowWithMeter, ReadingsArriveOnEveryDisplayAndInTheLog)
{
    MeterSimulator meter({"--speed", "60"});
    ASSERT_TRUE(meter.Ok());
    QTemporaryDir folder;
    const QString log = folder.filePath("umblog.txt");

    form.Series1->AddPoint(0, 20, "", clDefault);  // left over from an earlier run
    Start(meter.Device());
    ASSERT_TRUE(Greeted()) << form.Caption();
    EXPECT_EQ(form.Series1->PointCount(), 0) << "the greeting empties the chart";
    EXPECT_EQ(form.Timer1->Interval(), 1000u);

    form.LabeledEdit1->SetText(log.toStdString());
    QTest::mouseClick(&Widget(*form.CheckBox4), Qt::LeftButton, {}, QPoint(5, 8));
    ASSERT_TRUE(form.SaveEnabled());

    ASSERT_TRUE(WaitUntil([&] { return form.ReadingCount() >= 3; }, 8000));
    const std::string shown = form.Label1->Caption();
    EXPECT_TRUE(IsReadingReply(shown + "#")) << shown;
    const double last = form.Series1->YValue(form.Series1->PointCount() - 1);
    EXPECT_EQ(last, std::stod(shown));
    EXPECT_EQ(form.Gauge1->Progress(), std::clamp(GaugeProgressFor(std::stold(shown)), 1500, 2500));
    EXPECT_EQ(form.Series1->XValue(2), 2.0);
    EXPECT_NE(form.Label5->Caption(), "N/A");

    // The first logged reading created the file; the later ones are lines.
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 1);
    for (const QString& line : lines)
        EXPECT_TRUE(IsReadingReply(line.left(5).toStdString() + "#")) << line.toStdString();
    EXPECT_TRUE(boxes.empty());
}

TEST_F(WindowWithMeter, AMissingPortIsReported)
{
    Start("ttyUmbrascopeNoSuchPort");
    EXPECT_EQ(boxes, std::vector<std::string>{"Error: Unable to connect!"});
    EXPECT_EQ(form.Caption(), "Umbrascope");
}

TEST_F(WindowWithMeter, APulledMeterEndsPollingAndKeepsThePoints)
{
    MeterSimulator meter({"--speed", "60", "--vanish-after", "2"});
    ASSERT_TRUE(meter.Ok());
    Start(meter.Device());
    ASSERT_TRUE(Greeted());

    ASSERT_TRUE(WaitUntil([&] { return !boxes.empty(); }, 8000));
    EXPECT_EQ(boxes, std::vector<std::string>{"Error: COM Port has been disconnected!!"});
    EXPECT_FALSE(form.CommPortDriver1->Connected());
    EXPECT_FALSE(form.Timer1->Enabled());
    EXPECT_FALSE(form.Label1->Enabled());
    EXPECT_EQ(form.Gauge1->Progress(), 1500);
    EXPECT_EQ(form.Series1->PointCount(), 2);
    EXPECT_EQ(form.ReadingCount(), 2);
}

}  // namespace
