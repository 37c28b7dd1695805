// Log failures shown in the real error box while the meter goes on: the box
// waits for the user, readings keep arriving, being shown and being logged,
// and a fault that lasts opens one box, not one per reading.
#include "app/Unit1.h"

#include "EventLoop.h"
#include "FakeCommApi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<QMessageBox*> OpenBoxes()
{
    std::vector<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible())
            boxes.push_back(box);
    return boxes;
}

int LineCount(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? static_cast<int>(file.readAll().count("\r\n")) : -1;
}

class ErrorBoxWhilePolling : public ::testing::Test {
protected:
    ErrorBoxWhilePolling() : device(api.AddDevice("\\\\.\\COM7"))
    {
        InstallApplicationErrorBox();
        form.ComboBox1->SetText("COM7");
    }
    ~ErrorBoxWhilePolling() override
    {
        for (QMessageBox* box : OpenBoxes())
            box->reject();
        SetExceptionHandler({});
    }

    // "START", the greeting answered through the driver's real receive
    // timer, and SAVE on with the log at `path`.
    void StartSavingTo(const QString& path)
    {
        form.Button1Click(form.Button1);
        Send("HELLO#");
        ASSERT_TRUE(WaitUntil([&] { return form.Caption() == "Umbrascope"; }));
        form.LabeledEdit1->SetText(path.toStdString());
        form.CheckBox4->SetChecked(true);
        ASSERT_TRUE(form.SaveEnabled());
    }

    // The meter's bytes, picked up by the driver at its next tick.
    void Send(const std::string& bytes) { device.input.insert(device.input.end(), bytes.begin(), bytes.end()); }

    // Runs `step` every few milliseconds from the event loop, the nested
    // loops of open boxes included, until it returns true. Should that never
    // happen, boxes are closed from 15 s on so that the test fails instead
    // of waiting for a user.
    bool Script(const std::function<bool()>& step)
    {
        bool done = false;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (!done)
                done = step();
        });
        ticker.start(10);
        QElapsedTimer clock;
        clock.start();
        QTimer watchdog;
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            if (clock.elapsed() > 15000)
                for (QMessageBox* box : OpenBoxes())
                    box->reject();
        });
        watchdog.start(100);
        const bool finished = WaitUntil([&] { return done && OpenBoxes().empty(); }, 20000);
        return finished && done && clock.elapsed() <= 15000;
    }

    FakeCommApi api;
    TForm1 form{api};
    FakeCommApi::Device& device;
    QTemporaryDir folder;
};

TEST_F(ErrorBoxWhilePolling, ReadingsGoOnAndALastingFaultShowsOneBox)
{
    // A folder where the log should be: every reading fails to create it.
    const QString log = folder.filePath("umblog.txt");
    ASSERT_TRUE(QDir(folder.path()).mkdir("umblog.txt"));
    StartSavingTo(log);

    enum { Failing, Healed, SecondFault, Closing } phase = Failing;
    int sent = 0, shownWhileOpen = 0, mostBoxes = 0, logged = 0;
    // Readings 19.51, 19.52, ...: each one different, so each is seen.
    const auto reading = [](int n) { return std::to_string(19.5 + 0.01 * n).substr(0, 5); };
    const auto sendNext = [&] { Send(reading(++sent) + "#"); };
    QString firstText, secondText;
    const bool ok = Script([&] {
        const std::vector<QMessageBox*> boxes = OpenBoxes();
        mostBoxes = std::max(mostBoxes, static_cast<int>(boxes.size()));
        const int points = form.Series1->PointCount();
        if (boxes.empty()) {
            if (sent == 0 && phase == Failing)
                sendNext();
            return false;
        }
        if (firstText.isEmpty())
            firstText = boxes.front()->text();
        switch (phase) {
        case Failing:
            // A reading a tick while the box waits; each one fails to log.
            if (points < sent)
                return false;
            if (sent >= 10) {
                shownWhileOpen = points - 1;
                EXPECT_TRUE(QDir(folder.path()).rmdir("umblog.txt"));
                phase = Healed;
                return false;
            }
            sendNext();
            return false;
        case Healed:
            // The next reading creates the file, the ones after it write.
            logged = LineCount(log);
            if (logged >= 2) {
                form.LabeledEdit1->SetText("/dev/full");
                phase = SecondFault;
            }
            if (points == sent)
                sendNext();
            return false;
        case SecondFault:
            if (boxes.size() < 2) {
                if (points == sent)
                    sendNext();
                return false;
            }
            for (QMessageBox* box : boxes)
                if (box->text() != firstText)
                    secondText = box->text();
            // SAVE off, so that the readings still on their way fail no more.
            form.CheckBox4->SetChecked(false);
            phase = Closing;
            return false;
        case Closing:
            if (points < sent)
                return false;
            for (QMessageBox* box : boxes)
                box->buttons().front()->click();
            return true;
        }
        return false;
    });
    ASSERT_TRUE(ok) << "phase " << phase << ", sent " << sent << ", shown " << form.Series1->PointCount();
    EXPECT_EQ(firstText, "File access denied.");
    EXPECT_EQ(shownWhileOpen, 9) << "every reading sent while the box waited was shown";
    EXPECT_GE(logged, 2) << "logged again while the first box was still open";
    EXPECT_EQ(secondText, "Disk full.") << "a different error opens over the first";
    EXPECT_EQ(mostBoxes, 2) << "one box for the lasting fault, one for the other";
    EXPECT_EQ(form.Label1->Caption(), reading(sent));
    EXPECT_TRUE(form.Timer1->Enabled()) << "polling goes on";
}

}  // namespace
