// The real executable on a real pseudo-terminal, talked to as the monitor
// would: plain POSIX, every wait bounded by a deadline.
#include "MeterReply.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Received {
    std::string bytes;
    bool hungUp = false;  // end of file or EIO: the other side is gone
};

// Reads until `enough` holds, the other side goes, or five seconds pass.
Received ReadUntil(int fd, const std::function<bool(const std::string&)>& enough)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    Received got;
    for (pollfd p{fd, POLLIN, 0}; !enough(got.bytes);) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0)
            break;
        char chunk[256];
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if ((got.hungUp = n == 0 || (n < 0 && errno == EIO)))
            break;
        got.bytes.append(chunk, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    }
    return got;
}

bool Never(const std::string&) { return false; }

// umbrascope-metersim as a child process, killed however a test ends.
class Simulator {
public:
    explicit Simulator(std::vector<std::string> args)
    {
        args.insert(args.begin(), METERSIM_EXECUTABLE);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        int out[2];
        EXPECT_EQ(pipe(out), 0);
        fcntl(out[0], F_SETFD, FD_CLOEXEC);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        EXPECT_EQ(posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        out_ = out[0];
    }
    ~Simulator()
    {
        if (pid_ > 0 && kill(pid_, SIGKILL) == 0)
            waitpid(pid_, nullptr, 0);
        close(out_);
    }
    std::string DevicePath()
    {
        const std::string line = ReadUntil(out_, [](const std::string& s) { return s.find('\n') != s.npos; }).bytes;
        return line.substr(0, line.find('\n'));
    }
    void Signal(int signal) { kill(pid_, signal); }
    // Its standard output closes when it ends; then its exit code.
    std::optional<int> ExitCode()
    {
        int status = 0;
        if (!ReadUntil(out_, Never).hungUp || waitpid(std::exchange(pid_, -1), &status, 0) < 0 || !WIFEXITED(status))
            return std::nullopt;
        return WEXITSTATUS(status);
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
};

int OpenPort(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios mode {};
    if (fd >= 0 && tcgetattr(fd, &mode) == 0) {
        cfmakeraw(&mode);
        tcsetattr(fd, TCSANOW, &mode);
    }
    return fd;
}

std::string Ask(int fd, const std::string& command)
{
    EXPECT_EQ(write(fd, command.data(), command.size()), static_cast<ssize_t>(command.size()));
    return ReadUntil(fd, [](const std::string& s) { return s.find('#') != s.npos; }).bytes;
}

}  // namespace

TEST(MetersimProcess, AnswersAMonitorThatReopensThePort)
{
    Simulator sim({"--no-link", "--seed", "1", "--speed", "60"});
    const std::string path = sim.DevicePath();
    for (int round = 0; round < 3; ++round) {
        const int fd = OpenPort(path);
        ASSERT_GE(fd, 0) << path;
        EXPECT_EQ(Ask(fd, "H#").substr(0, 5), "HELLO");
        EXPECT_TRUE(IsReadingReply(Ask(fd, "V#")));
        EXPECT_EQ(Ask(fd, "\r\nQ#"), "ERROR#");
        close(fd);
    }
}

TEST(MetersimProcess, TheNightStartsAtTheGivenTimeOfDay)
{
    // Noon reads far brighter than any night sky; an hour before midnight
    // without a moon stays dark under the thickest cloud. Whatever the real
    // clock says, one of the two would be wrong if --start were lost.
    const auto readingAt = [](const char* start) {
        Simulator sim({"--no-link", "--seed", "3", "--no-moon", "--start", start});
        const int fd = OpenPort(sim.DevicePath());
        const std::string reply = Ask(fd, "V#");
        close(fd);
        return reply;
    };
    const std::string noon = readingAt("12:00"), night = readingAt("23:00");
    ASSERT_TRUE(IsReadingReply(noon)) << noon;
    ASSERT_TRUE(IsReadingReply(night)) << night;
    EXPECT_LT(std::stod(noon), 15.0);
    EXPECT_GT(std::stod(night), 19.0);
}

TEST(MetersimProcess, VanishingHangsUpTheMonitorAndExitsCleanly)
{
    Simulator sim({"--no-link", "--seed", "1", "--speed", "60", "--vanish-after", "1"});
    const int fd = OpenPort(sim.DevicePath());
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(IsReadingReply(Ask(fd, "V#")));
    const Received after = ReadUntil(fd, Never);
    EXPECT_TRUE(after.hungUp);
    EXPECT_EQ(after.bytes, "");
    EXPECT_EQ(sim.ExitCode(), 0);
    close(fd);
}

TEST(MetersimProcess, PublishesItsLinkAndRemovesItWhenStopped)
{
    char folder[] = "/tmp/metersim-test-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string ports = std::string(folder) + "/ports", link = ports + "/sim";
    for (int signal : {SIGTERM, SIGINT}) {  // the second run finds a stale link, as after a crash
        Simulator sim({"--link", link, "--seed", "1"});
        const std::string path = sim.DevicePath();
        char target[256] = {};
        EXPECT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(target, path);
        struct stat info {};
        EXPECT_EQ(stat(ports.c_str(), &info) == 0 ? info.st_mode & 0777 : 0u, 0700u);
        const int fd = OpenPort(link);
        EXPECT_EQ(Ask(fd, "H#"), "HELLO#");
        close(fd);
        sim.Signal(signal);
        EXPECT_EQ(sim.ExitCode(), 0);
        EXPECT_NE(access(link.c_str(), F_OK), 0);
        EXPECT_EQ(symlink("/dev/pts/no-such-port", link.c_str()), 0);
    }
    unlink(link.c_str());
    rmdir(ports.c_str());
    rmdir(folder);
}

TEST(MetersimProcess, BadOptionsExitWithTwo)
{
    for (const char* bad : {"--speed=0", "--greeting=HI", "--frobnicate"})
        EXPECT_EQ(Simulator({bad, "--no-link"}).ExitCode(), 2) << bad;
}
