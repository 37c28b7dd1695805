// Umbrascope.exe under Wine, as a Windows user would meet it: the meter
// simulator plays the meter on COM5 of the Wine prefix (a link to its
// pseudo-terminal), the program runs as a separate process on the virtual
// display, and synthetic input types the port, chooses 1 s, presses START
// and ticks SAVE. The window's pixels and the log must show the readings;
// unplugging the meter must bring the error box.
//
// tools/windows/run-wine-tests.sh runs it with the prefix, the display and
// the program named in the environment: WINEPREFIX, DISPLAY,
// UMBRASCOPE_WINE (the wine loader) and UMBRASCOPE_EXE.
#include "DesktopTools.h"
#include "EventLoop.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#ifndef METERSIM_PATH
#error "the test target must define METERSIM_PATH"
#endif

namespace {

class WineSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"WINEPREFIX", "DISPLAY", "UMBRASCOPE_WINE", "UMBRASCOPE_EXE"}) {
            if (environment.value(name).isEmpty())
                GTEST_SKIP() << name << " is not set: run it through tools/windows/run-wine-tests.sh";
        }
        for (const char* tool : {"xdotool", "xwd"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        }
        // Wine's own trace of every message box: its text, which no X
        // property carries.
        environment.insert("WINEDEBUG", "-all,trace+msgbox");
        // A copy in a folder of its own, where its default log lands.
        program = programDir.filePath("Umbrascope.exe");
        ASSERT_TRUE(QFile::copy(environment.value("UMBRASCOPE_EXE"), program));
        logFile = programDir.filePath("umblog.txt");
        port = environment.value("WINEPREFIX") + "/dosdevices/com5";
        // The prefix keeps what a test before this one set.
        ASSERT_TRUE(SetScreenDpi(96));
    }

    void TearDown() override
    {
        if (dpiChanged)
            SetScreenDpi(96);
    }

    // The dots per inch the prefix's programs see from their start on.
    bool SetScreenDpi(int dpi)
    {
        dpiChanged = dpi != 96;
        QProcess reg;
        reg.setProcessEnvironment(environment);
        reg.start(environment.value("UMBRASCOPE_WINE"), {"reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels",
                                                         "/t", "REG_DWORD", "/d", QString::number(dpi), "/f"});
        return reg.waitForFinished(30000) && reg.exitStatus() == QProcess::NormalExit && reg.exitCode() == 0;
    }

    QString Xdotool(const QStringList& arguments) { return RunTool("xdotool", arguments, environment); }
    void Click(int x, int y)
    {
        Xdotool({"mousemove", "--window", window, QString::number(x), QString::number(y), "click", "1"});
        RunEventsFor(500);
    }
    // The main window, found by its size; Wine may take its time to start.
    bool WaitForWindow(const QString& size)
    {
        return WaitUntil([&] { return !(window = FindWindow("Umbrascope", size, environment)).isEmpty(); }, 60000);
    }

    QProcessEnvironment environment;
    QTemporaryDir programDir;
    QString program;
    QString logFile;
    QString port;
    QString window;
    bool dpiChanged = false;
};

TEST_F(WineSession, ReadingsReachTheWindowAndTheLogUntilTheMeterIsUnplugged)
{
    auto meter = std::make_unique<Child>(
        METERSIM_PATH, QStringList{"--link", port, "--start", "23:00", "--no-moon", "--seed", "5", "--speed", "60"},
        environment);
    ASSERT_TRUE(WaitUntil([&] { return meter->process.canReadLine(); }, 10000));
    ASSERT_TRUE(QFileInfo(port).isSymLink()) << "the simulator is COM5";

    Child monitor(environment.value("UMBRASCOPE_WINE"), {program}, environment);
    // Wine's trace and diagnostics, as far as they have come.
    QString said;
    const auto output = [&] {
        said += QString::fromLocal8Bit(monitor.process.readAllStandardError());
        said += QString::fromLocal8Bit(monitor.process.readAllStandardOutput());
        return said.toStdString();
    };
    ASSERT_TRUE(WaitForWindow("586x659"))
        << "no main window; wine " << (monitor.process.state() == QProcess::Running ? "runs" : "has ended")
        << ", its output: " << output();

    Click(124, 40);  // the port's text
    Xdotool({"type", "--delay", "20", "COM5"});
    Click(460, 40);  // the interval list opens; its first entry is 1 s
    Xdotool({"key", "Home", "Return"});
    RunEventsFor(500);
    Click(530, 38);  // START
    ASSERT_TRUE(WaitUntil([&] { return Xdotool({"getwindowname", window}) == "Umbrascope"; }, 15000))
        << "the greeting completes: " << output();
    Click(510, 579);  // SAVE

    // The first reading makes the file; each line ends with CR LF.
    QByteArray content;
    ASSERT_TRUE(WaitUntil(
        [&] {
            QFile file(logFile);
            if (file.open(QIODevice::ReadOnly))
                content = file.readAll();
            return content.count("\r\n") >= 3;
        },
        20000))
        << content.toStdString();
    const QStringList lines = QString::fromLatin1(content).split("\r\n", Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        EXPECT_FALSE(line.contains('\n') || line.contains('\r')) << "a bare line end";
        ExpectLogLine(line);
    }

    Picture picture;
    ASSERT_TRUE(GrabWindow(window, environment, picture));
    ASSERT_EQ(picture.width, 586);
    // The reading's number, in the reading's blue.
    EXPECT_GT(picture.Count(kReadingBlue, 8 + 10, 72 + 16, 8 + 96, 72 + 48), 100);
    ExpectReadingsOnThePicture(picture);

    // Unplugged: the simulator goes, and with it the far side of COM5.
    meter.reset();
    const QStringList findBox{"search", "--onlyvisible", "--name", "^Error$"};
    ASSERT_TRUE(WaitUntil([&] { return !Xdotool(findBox).isEmpty(); }, 15000))
        << "no box captioned Error: " << output();
    ASSERT_TRUE(WaitUntil([&] { return output().find("COM Port has been disconnected!!") != std::string::npos; }, 5000))
        << said.toStdString();
    EXPECT_EQ(said.count("trace:msgbox"), 1) << "one box, whatever the timer does meanwhile: " << said.toStdString();
}

// A screen of 192 dots per inch: the program declares itself aware of it,
// so the system does not stretch a 96-dpi picture; the window keeps its
// layout at twice the size and the gauge and chart are drawn at the
// screen's resolution.
TEST_F(WineSession, OnADenseScreenTheWindowIsDrawnAtTwiceTheSize)
{
    ASSERT_TRUE(SetScreenDpi(192));

    Child monitor(environment.value("UMBRASCOPE_WINE"), {program}, environment);
    ASSERT_TRUE(WaitForWindow("1172x1318"))
        << "no window of twice the size: " << monitor.process.readAllStandardError().toStdString();
    RunEventsFor(1000);

    Picture picture;
    ASSERT_TRUE(GrabWindow(window, environment, picture));
    ASSERT_EQ(picture.width, 1172);
    // The empty gauge: its one-pixel frame is two device pixels wide, and
    // the face inside is white.
    const int left = 2 * (8 + 15), middle = 2 * (136 + 32 + 177);
    EXPECT_EQ(picture.Count(0x000000, left, middle, left + 2, middle + 1), 2);
    EXPECT_EQ(picture.Count(0xFFFFFF, left + 2, middle, left + 32, middle + 1), 30);
}

}  // namespace
