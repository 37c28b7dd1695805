// The real program and the meter simulator as separate processes on a
// virtual X display, driven with synthetic input as a person would: type
// the port, choose 1 s, press START, tick SAVE; then the window's pixels
// and the log file must show the readings.
#include "EventLoop.h"
#include "MeterReply.h"
#include "TestFonts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#ifndef UMBRASCOPE_PATH
#error "the test target must define UMBRASCOPE_PATH and METERSIM_PATH"
#endif

namespace {

constexpr std::uint32_t kReadingBlue = 0x0080FF;  // red 0, green 128, blue 255

// A child process that is always stopped with the test.
class Child {
public:
    Child(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
    {
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
    }
    // Asked to end first, so that a display server removes its lock and
    // socket; killed when it does not.
    ~Child()
    {
        process.terminate();
        if (!process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    QProcess process;
};

// Runs a command to its end and returns its standard output.
QString RunTool(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// A window's picture from the X server's dump format (24-bit colour,
// 32 bits a pixel, as Xvfb gives it).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xRRGGBB

    int Count(std::uint32_t rgb, int left, int top, int right, int bottom) const
    {
        int count = 0;
        for (int y = std::max(top, 0); y < std::min(bottom, height); ++y)
            for (int x = std::max(left, 0); x < std::min(right, width); ++x)
                count += pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] == rgb;
        return count;
    }
};

bool ParseDump(const QByteArray& dump, Picture& picture)
{
    const auto word = [&](int index) {
        const auto* p = reinterpret_cast<const unsigned char*>(dump.constData()) + 4 * index;
        return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
    };
    if (dump.size() < 100)
        return false;
    const std::uint32_t headerSize = word(0), width = word(4), height = word(5), byteOrder = word(7);
    const std::uint32_t bitsPerPixel = word(11), bytesPerLine = word(12), colors = word(19);
    const std::size_t start = headerSize + 12u * colors;
    if (bitsPerPixel != 32 || dump.size() < static_cast<qsizetype>(start + std::size_t{bytesPerLine} * height))
        return false;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.resize(std::size_t{width} * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const auto* p = reinterpret_cast<const unsigned char*>(dump.constData()) + start + y * bytesPerLine + 4 * x;
            const std::uint32_t value = byteOrder == 0 ? (std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 |
                                                          std::uint32_t{p[1]} << 8 | p[0])
                                                       : (std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 |
                                                          std::uint32_t{p[2]} << 8 | p[3]);
            picture.pixels[std::size_t{y} * width + x] = value & 0xFFFFFF;
        }
    }
    return true;
}

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
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (const QString& id : Xdotool({"search", "--onlyvisible", "--name", "^Umbrascope$"}).split('\n')) {
                if (!id.isEmpty() && Xdotool({"getwindowgeometry", id}).contains("586x659"))
                    window = id;
            }
            return !window.isEmpty();
        },
        30000))
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
    for (const QString& line : lines) {
        EXPECT_TRUE(IsReadingReply(line.left(5).toStdString() + "#")) << line.toStdString();
        EXPECT_EQ(line.count("   "), 2) << "reading, date and time: " << line.toStdString();
    }

    QProcess dump;
    dump.setProcessEnvironment(environment);
    dump.start("xwd", {"-id", window, "-silent"});
    ASSERT_TRUE(dump.waitForFinished(10000));
    Picture picture;
    ASSERT_TRUE(ParseDump(dump.readAllStandardOutput(), picture));
    ASSERT_EQ(picture.width, 586);
    // A night reading fills the gauge from its bottom, in the reading's blue.
    EXPECT_GT(picture.Count(kReadingBlue, 8 + 15, 136 + 32, 8 + 32, 136 + 386), 100);
    // The chart's line, inside the chart.
    EXPECT_GT(picture.Count(kReadingBlue, 8 + 32, 136 + 17, 8 + 568, 136 + 400), 20);
}

}  // namespace
