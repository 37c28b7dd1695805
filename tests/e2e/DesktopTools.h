// What the tests that drive a real program on a virtual X display share:
// child processes that end with the test, running a tool, reading a
// window's picture from the X server's dump, and the checks of the log
// and the picture that both sessions make.
#pragma once

#include "MeterReply.h"

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

// The reading's colour in a picture: red 0, green 128, blue 255.
inline constexpr std::uint32_t kReadingBlue = 0x0080FF;

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
inline QString RunTool(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
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

inline bool ParseDump(const QByteArray& dump, Picture& picture)
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

// The picture of window `id` as the X server shows it now; false when xwd
// fails or its dump cannot be read.
inline bool GrabWindow(const QString& id, const QProcessEnvironment& environment, Picture& picture)
{
    QProcess dump;
    dump.setProcessEnvironment(environment);
    dump.start("xwd", {"-id", id, "-silent"});
    return dump.waitForFinished(10000) && ParseDump(dump.readAllStandardOutput(), picture);
}

// A visible window titled exactly `title` and of `size` ("586x659"); empty
// when there is none.
inline QString FindWindow(const QString& title, const QString& size, const QProcessEnvironment& environment)
{
    const QString ids = RunTool("xdotool", {"search", "--onlyvisible", "--name", "^" + title + "$"}, environment);
    for (const QString& id : ids.split('\n', Qt::SkipEmptyParts)) {
        if (RunTool("xdotool", {"getwindowgeometry", id}, environment).contains(size))
            return id;
    }
    return {};
}

// A line of the reading log, without its line end: the reading, the date
// and the time, three blanks apart.
inline void ExpectLogLine(const QString& line)
{
    EXPECT_TRUE(IsReadingReply(line.left(5).toStdString() + "#")) << line.toStdString();
    EXPECT_EQ(line.count("   "), 2) << "reading, date and time: " << line.toStdString();
}

// The main window's picture after some night readings: the gauge filled
// from its bottom and the chart's line, in the reading's blue.
inline void ExpectReadingsOnThePicture(const Picture& picture)
{
    EXPECT_GT(picture.Count(kReadingBlue, 8 + 15, 136 + 32, 8 + 32, 136 + 386), 100);
    EXPECT_GT(picture.Count(kReadingBlue, 8 + 32, 136 + 17, 8 + 568, 136 + 400), 20);
}
