// The real program and the meter simulator as separate processes on a
// virtual X display, driven with synthetic input as a person would: type
// the port, choose 1 s, press START, tick SAVE; then the window's pixels
// and the log file must show the readings.
#include "DesktopTools.h"
#include "EventLoop.h"
#include "TestFonts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#ifndef UMBRASCOPE_PATH
#error "the test target must define UMBRASCOPE_PATH and METERSIM_PATH"
#endif

namespace {

class DesktopSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "xwd"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        }
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("XDG_RUNTIME_DIR", runtimeDir.path());
        PinTestFonts(environment);
        // The server picks a free display and writes its number once it
        // takes connections: a socket file alone may come before that.
        server = std::make_unique<Child>(
            "Xvfb", QStringList{"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, environment);
        ASSERT_TRUE(WaitUntil([&] { return server->process.canReadLine(); }, 10000))
            << "the display server did not start: " << server->process.readAllStandardError().toStdString();
        const QString display = QString::fromLatin1(server->process.readLine()).trimmed();
        environment.insert("DISPLAY", ":" + display);
        // A copy of the program in a folder of its own, where its default
        // log file lands and nothing else writes.
        program = programDir.filePath("umbrascope");
        ASSERT_TRUE(QFile::copy(UMBRASCOPE_PATH, program));
        logFile = programDir.filePath("umblog.txt");
    }

    QString Xdotool(const QStringList& arguments) { return RunTool("xdotool", arguments, environment); }
    // A click at a point of the window, in its own coordinates.
    void Click(int x, int y)
    {
        Xdotool({"mousemove", "--window", window, QString::number(x), QString::number(y), "click", "1"});
        RunEventsFor(300);
    }

    QTemporaryDir runtimeDir;
    QTemporaryDir programDir;
    QString program;
    QProcessEnvironment environment;
    std::unique_ptr<Child> server;
    QString window;
    QString logFile;
};

TEST_F(DesktopSession, ReadingsReachTheGaugeTheChartAndTheLog)
{
    Child meter(METERSIM_PATH, {"--no-link", "--start", "23:00", "--no-moon", "--seed", "5"}, environment);
    ASSERT_TRUE(WaitUntil([&] { return meter.process.canReadLine(); }, 10000));
    const QString device = QString::fromLocal8Bit(meter.process.readLine()).trimmed();
    ASSERT_TRUE(device.startsWith("/dev/")) << device.toStdString();

    Child monitor(program, {}, environment);
    // The main window is the one of the designed size.
    ASSERT_TRUE(WaitUntil([&] { return !(window = FindWindow("Umbrascope", "586x659", environment)).isEmpty(); }, 30000))
        << "no main window; the program " << (monitor.process.state() == QProcess::Running ? "runs" : "has ended")
        << ", its output: " << monitor.process.readAllStandardError().toStdString()
        << monitor.process.readAllStandardOutput().toStdString()
        << "; the display server's: " << server->process.readAllStandardError().toStdString();

    Click(124, 40);  // the port's text
    Xdotool({"type", "--delay", "10", device});
    Click(460, 40);  // the interval list opens; its first entry is 1 s
    Xdotool({"key", "Home", "Return"});
    RunEventsFor(300);
    Click(540, 38);  // START
    ASSERT_TRUE(WaitUntil([&] { return Xdotool({"getwindowname", window}) == "Umbrascope"; }, 10000))
        << "the greeting completes";
    Click(516, 579);  // SAVE

    // The first reading creates the file; the next ones are its lines.
    QStringList lines;
    ASSERT_TRUE(WaitUntil(
        [&] {
            QFile file(logFile);
            if (file.open(QIODevice::ReadOnly))
                lines = QString::fromLatin1(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
            return lines.size() >= 2;
        },
        20000))
        << lines.join('|').toStdString();
    for (const QString& line : lines)
        ExpectLogLine(line);

    Picture picture;
    ASSERT_TRUE(GrabWindow(window, environment, picture));
    ASSERT_EQ(picture.width, 586);
    ExpectReadingsOnThePicture(picture);
}

}  // namespace
