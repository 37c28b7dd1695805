#include "Server.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace metersim {

namespace {

using namespace std::chrono_literals;

// When the master hangs up anyway, it is left alone this long rather than
// polled again at once, which would spin.
constexpr auto kHangupPause = 200ms;
// Closing the master discards what the slave has not read yet. A pulled
// adapter would have delivered its last reading, so the monitor gets this
// long to take it; the short wait covers bytes still on their way to the
// slave's queue.
constexpr auto kLingerMin = 50ms;
constexpr auto kLingerMax = 2s;
constexpr auto kLingerPoll = 20ms;

std::string Visible(std::string_view bytes)
{
    std::string text;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\') {
            text.push_back(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            text += escaped;
        }
    }
    return text;
}

NightConfig ConfigFrom(const Options& options)
{
    NightConfig config;
    config.moonriseSeconds = options.moonriseSeconds;
    return config;
}

}  // namespace

Server::Server(const Options& options, PtyPort& port, std::uint64_t seed, int stopFd)
    : options_(options), port_(port), stopFd_(stopFd), sky_(ConfigFrom(options), seed),
      rng_(seed ^ 0x9E3779B97F4A7C15ULL), clock_(options.startSeconds.value_or(0), options.speed, Clock::now()),
      session_(options.greeting, options.faults)
{
}

Server::Outcome Server::Run()
{
    for (;;) {
        const auto now = Clock::now();
        WriteDue(now);
        if (session_.Finished() && (lastReplyLost_ || (queue_.Empty() && MonitorHasRead(now))))
            return Outcome::Vanished;
        const bool listen = now >= quietUntil_;
        pollfd fds[2] = {{stopFd_, POLLIN, 0}, {port_.Master(), 0, 0}};
        if (listen)
            fds[1].events = static_cast<short>(POLLIN | (waitWritable_ ? POLLOUT : 0));
        if (poll(fds, 2, PollTimeout(now)) < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "metersim: poll: %s\n", std::strerror(errno));
            return Outcome::Failed;
        }
        if (fds[0].revents != 0)
            return Outcome::Stopped;
        if (fds[1].revents & (POLLOUT | POLLERR | POLLHUP))
            waitWritable_ = false;
        if (fds[1].revents & (POLLIN | POLLERR | POLLHUP))
            ReadCommands(Clock::now());
    }
}

int Server::PollTimeout(Clock::time_point now) const
{
    auto wait = Clock::duration::max();
    if (now < quietUntil_)
        wait = quietUntil_ - now;
    if (const auto due = queue_.NextDue(); due && !waitWritable_)
        wait = std::min(wait, std::max(Clock::duration::zero(), *due - now));
    if (session_.Finished() && queue_.Empty())
        wait = std::min<Clock::duration>(wait, kLingerPoll);
    if (wait == Clock::duration::max())
        return -1;
    // Rounded up: waking a fraction of a millisecond early would only find
    // nothing due and poll again with a timeout of zero.
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
}

void Server::ReadCommands(Clock::time_point now)
{
    char bytes[256];
    // A bounded number of reads a turn, so a monitor that never stops
    // sending cannot keep us from the signal pipe and the output.
    for (int turn = 0; turn < 16; ++turn) {
        const ssize_t n = read(port_.Master(), bytes, sizeof bytes);
        if (n > 0) {
            Answer(std::string_view(bytes, static_cast<std::size_t>(n)), now);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // Nobody on the slave side, which our own descriptor should prevent.
        quietUntil_ = now + kHangupPause;
        return;
    }
}

void Server::Answer(std::string_view bytes, Clock::time_point now)
{
    const auto reading = [&] {
        ++readings_;
        return FormatReading(sky_.Sample(clock_.At(now), rng_));
    };
    for (const Reply& reply : session_.Receive(bytes, reading, rng_)) {
        const bool queued = queue_.Push(reply.pieces, now);
        if (options_.verbose) {
            std::string sent;
            for (const ReplyPiece& piece : reply.pieces)
                sent += (sent.empty() ? "" : " | ") + Visible(piece.bytes);
            std::fprintf(stderr, "metersim: %s# -> %s\n", Visible(reply.command).c_str(), sent.c_str());
        }
        if (!queued && dropped_++ == 0)
            std::fprintf(stderr, "metersim: the monitor is not reading; dropping replies\n");
        if (queued && dropped_ > 0) {
            std::fprintf(stderr, "metersim: dropped %ld replies\n", dropped_);
            dropped_ = 0;
        }
        if (reply.lastBeforeVanish && !queued)
            lastReplyLost_ = true;
    }
}

void Server::WriteDue(Clock::time_point now)
{
    while (!waitWritable_) {
        const std::string_view bytes = queue_.Ready(now);
        if (bytes.empty())
            return;
        const ssize_t n = write(port_.Master(), bytes.data(), bytes.size());
        if (n > 0) {
            queue_.Consume(static_cast<std::size_t>(n));
            lastWrite_ = now;
        } else if (n == 0 || errno == EAGAIN || errno == EWOULDBLOCK) {
            waitWritable_ = true;
        } else if (errno != EINTR) {
            std::fprintf(stderr, "metersim: write: %s; replies dropped\n", std::strerror(errno));
            queue_.Clear();
        }
    }
}

bool Server::MonitorHasRead(Clock::time_point now) const
{
    int unread = 0;
    if (ioctl(port_.Slave(), FIONREAD, &unread) != 0)
        return true;
    const auto since = now - lastWrite_;
    return (unread == 0 && since >= kLingerMin) || since >= kLingerMax;
}

}  // namespace metersim
