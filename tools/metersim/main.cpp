// umbrascope-metersim: a sky brightness meter on a pseudo-terminal, for
// running and testing the monitor without the hardware.
#include "Options.h"
#include "PtyPort.h"
#include "Server.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

using namespace metersim;

namespace {

int g_stopWriter = -1;

void OnStopSignal(int)
{
    const int saved = errno;
    [[maybe_unused]] const ssize_t ignored = write(g_stopWriter, "s", 1);
    errno = saved;
}

// A signal only writes a byte to a pipe that the poll() loop watches, so it
// can arrive at any moment without being missed or interrupting anything.
int StopPipe()
{
    int fds[2];
    if (pipe(fds) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe");
    for (int fd : fds)
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    fcntl(fds[1], F_SETFL, O_NONBLOCK);
    g_stopWriter = fds[1];
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);  // a closed stdout must not kill us before we clean up
    return fds[0];
}

double LocalTimeOfDay()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
}

std::string ClockText(double seconds)
{
    const long s = static_cast<long>(seconds);
    char text[16];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", s / 3600 % 24, s / 60 % 60, s % 60);
    return text;
}

int Serve(Options options)
{
    const int stopFd = StopPipe();
    PtyPort port;
    PortLink link;
    std::string published = "no link";
    if (!options.noLink) {
        const std::string path = options.linkPath.value_or(DefaultLinkPath());
        const std::string problem = link.Publish(path, port.SlavePath());
        if (problem.empty())
            published = "link " + path;
        else
            std::fprintf(stderr, "metersim: %s; serving without the link\n", problem.c_str());
    }
    std::printf("%s\n", port.SlavePath().c_str());
    std::fflush(stdout);

    options.startSeconds = options.startSeconds.value_or(LocalTimeOfDay());
    const std::uint64_t seed = options.seed.value_or(
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    std::fprintf(stderr, "metersim: serving on %s (%s), night from %s at speed %g, seed %llu\n",
                 port.SlavePath().c_str(), published.c_str(), ClockText(*options.startSeconds).c_str(),
                 options.speed, static_cast<unsigned long long>(seed));

    Server server(options, port, seed, stopFd);
    const Server::Outcome outcome = server.Run();
    port.Close();
    link.Remove();
    if (outcome == Server::Outcome::Vanished)
        std::fprintf(stderr, "metersim: vanished after %ld readings, as if unplugged\n", server.Readings());
    else if (outcome == Server::Outcome::Stopped)
        std::fprintf(stderr, "metersim: stopped\n");
    return outcome == Server::Outcome::Failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const ParsedOptions parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "umbrascope-metersim: %s\nTry 'umbrascope-metersim --help'.\n", parsed.error.c_str());
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(Usage("umbrascope-metersim").c_str(), stdout);
        return 0;
    }
    try {
        return Serve(parsed.options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "umbrascope-metersim: %s\n", e.what());
        return 1;
    }
}
