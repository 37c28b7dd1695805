// The reading log: one CR LF line per reading, the file created by the
// first reading that finds it missing, failures shown without stopping.
#include "WindowFixture.h"

#include "EventLoop.h"
#include "runtime/DateTimeText.h"
#include "ControlWidgets.h"
#include "PathQueryFault.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <string>
#include <vector>

namespace {

class ReadingLog : public MeterOnFakePort {
protected:
    ReadingLog()
    {
        Greet();
        SetLogPath(Path("umblog.txt"));
        form.CheckBox4->SetChecked(true);
    }

    std::string Path(const char* name) const { return folder.filePath(name).toStdString(); }
    void SetLogPath(const std::string& path) { form.LabeledEdit1->SetText(path); }

    std::string Content(const std::string& path) const
    {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
    }

    QTemporaryDir folder;
};

TEST_F(ReadingLog, TheFirstReadingCreatesTheFileAndTheNextOnesWriteLines)
{
    ASSERT_TRUE(form.SaveEnabled());
    Receive("19.53#");
    EXPECT_EQ(Content(Path("umblog.txt")), "") << "created empty; this reading is not written";
    Receive("19.61#");
    const std::string content = Content(Path("umblog.txt"));
    // "19.61", three spaces, the date, three spaces, the time, CR LF.
    const std::string today = DateText();
    ASSERT_TRUE(content.starts_with("19.61   " + today + "   ")) << content;
    EXPECT_TRUE(content.ends_with("\r\n"));
    EXPECT_EQ(content.find('\n'), content.size() - 1) << "one line";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ReadingLog, TheDateAndTimeBoxesChooseTheFields)
{
    form.CreateTextFile(Path("umblog.txt"));
    form.CheckBox2->SetChecked(false);
    form.CheckBox3->SetChecked(false);
    Receive("19.53#");
    form.CheckBox3->SetChecked(true);
    Receive(" 9.50#");
    form.CheckBox2->SetChecked(true);
    form.CheckBox3->SetChecked(false);
    Receive("21.00#");

    const QStringList lines = QString::fromStdString(Content(Path("umblog.txt"))).split("\r\n");
    ASSERT_EQ(lines.size(), 4) << "three lines, each ended by CR LF";
    EXPECT_EQ(lines[0], "19.53");
    // The time alone: as long as a time is and without a second field.
    EXPECT_TRUE(lines[1].startsWith("9.50   ")) << lines[1].toStdString();
    EXPECT_EQ(lines[1].size(), 7 + QString::fromStdString(TimeText()).size()) << lines[1].toStdString();
    EXPECT_EQ(lines[1].indexOf("   ", 7), -1);
    EXPECT_EQ(lines[2], QString::fromStdString("21.00   " + DateText()));
    EXPECT_EQ(lines[3], "");
}

// A share or USB disk that fails the check for a moment: the reading is
// appended as usual and the earlier lines stay.
TEST_F(ReadingLog, AFailedExistenceCheckNeverEmptiesTheLog)
{
    form.CreateTextFile(Path("umblog.txt"));
    form.CheckBox2->SetChecked(false);
    form.CheckBox3->SetChecked(false);
    Receive("19.53#");
    {
        const ScopedPathQueryFault fault(EIO);
        Receive("19.54#");
    }
    Receive("19.55#");
    EXPECT_EQ(Content(Path("umblog.txt")), "19.53\r\n19.54\r\n19.55\r\n");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ReadingLog, OnlyReadingsAreWritten)
{
    form.CreateTextFile(Path("umblog.txt"));
    Receive("ERROR#");
    Receive("HELLO#");
    Receive("junk!#");
    EXPECT_EQ(Content(Path("umblog.txt")), "");
}

TEST_F(ReadingLog, AChosenFileIsAppendedToAndADeletedOneCreatedAgain)
{
    const std::string chosen = Path("night.txt");
    QFile file(QString::fromStdString(chosen));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("earlier\r\n");
    file.close();

    std::string openedWith = "not asked";
    SetFileChooser([&](TSaveDialog& dialog) {
        openedWith = dialog.FileName();
        dialog.SetFileName(chosen);
        return true;
    });
    form.SaveDialog1->SetFileName("previous.txt");
    form.Button2Click(form.Button2);
    SetFileChooser({});
    EXPECT_EQ(openedWith, "") << "the dialog opens with an empty name";
    EXPECT_EQ(form.LabeledEdit1->Text(), chosen);

    form.CheckBox2->SetChecked(false);
    form.CheckBox3->SetChecked(false);
    Receive("19.53#");
    EXPECT_EQ(Content(chosen), "earlier\r\n19.53\r\n");

    ASSERT_TRUE(QFile::remove(QString::fromStdString(chosen)));
    Receive("19.54#");
    EXPECT_EQ(Content(chosen), "");
    Receive("19.55#");
    EXPECT_EQ(Content(chosen), "19.55\r\n");
}

TEST_F(ReadingLog, ACancelledOrTooLongChoiceKeepsThePath)
{
    const std::string before = form.LabeledEdit1->Text();
    SetFileChooser([](TSaveDialog&) { return false; });
    form.Button2Click(form.Button2);
    EXPECT_EQ(form.LabeledEdit1->Text(), before);

    const QString tooLong = folder.path() + "/" + QString(300, QLatin1Char('a')) + ".txt";
    SetFileChooser([&](TSaveDialog& dialog) {
        dialog.SetFileName(tooLong.toStdString());
        return true;
    });
    QTest::mouseClick(&Widget(*form.Button2), Qt::LeftButton);
    SetFileChooser({});
    EXPECT_EQ(form.LabeledEdit1->Text(), before);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{ApplicationTitle() +
                                                   ": Invalid filename: the path is longer than 259 characters."});
}

// Through the driver's own receive timer, as in the running program: the
// error reaches the application's error box and the reading stays shown.
class FailingLog : public ReadingLog {
protected:
    void ReceiveThroughTheEventLoop(const std::string& bytes)
    {
        const int count = form.ReadingCount();
        device.input.insert(device.input.end(), bytes.begin(), bytes.end());
        ASSERT_TRUE(WaitUntil([&] { return form.ReadingCount() == count + 1; }));
    }
};

TEST_F(FailingLog, AFolderInTheWayIsAccessDenied)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("umblog.txt"));
    ReceiveThroughTheEventLoop("19.53#");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{ApplicationTitle() + ": File access denied."});
    EXPECT_EQ(form.Label1->Caption(), "19.53");
    EXPECT_EQ(form.Gauge1->Progress(), 1953);
    EXPECT_EQ(ChartReadings(), std::vector<double>{19.53});

    // Polling goes on, and each reading tries again.
    EXPECT_TRUE(form.Timer1->Enabled());
    EXPECT_TRUE(form.CommPortDriver1->Connected());
    ReceiveThroughTheEventLoop("19.54#");
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(FailingLog, AFullDeviceIsDiskFull)
{
    SetLogPath("/dev/full");
    ReceiveThroughTheEventLoop("19.53#");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{ApplicationTitle() + ": Disk full."});
    EXPECT_EQ(form.Label1->Caption(), "19.53");
}

TEST_F(FailingLog, ATooLongDefaultPathWritesNothingAnywhere)
{
    const std::string deep = Path(std::string(250, 'd').c_str());
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(deep)));
    SetLogPath(deep + "/umblog.txt");
    ReceiveThroughTheEventLoop("19.53#");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{ApplicationTitle() +
                                                   ": Invalid filename: the path is longer than 259 characters."});
    EXPECT_EQ(QDir(QString::fromStdString(deep)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList());
}

}  // namespace
