// The far side of the COM ports that the Windows tests use under Wine. Wine
// opens "\\.\COM5" as whatever the link "com5" in the prefix's dosdevices
// folder points to, so each port here is a pseudo-terminal whose slave gets
// that link and whose master this program plays:
//
//   loopback:NAME  sends back every byte it receives, as a loopback plug does
//   hangup:NAME    goes away (closes the master) at the first byte it receives,
//                  as an unplugged adapter does, and is plugged in again at
//                  once as a new terminal under the same name, for the next
//                  test; a handle opened before keeps the one that went
//
//   pty-com-peer DOSDEVICES-FOLDER PORT...
//
// It prints "ready" once every link is in place and ends when its standard
// input closes, so that a harness that dies takes it along. A Linux program,
// built by tools/windows/run-wine-tests.sh with the host's compiler.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

enum class Role { Loopback, Hangup };

struct Port {
    Role role;
    std::string link;
    int master = -1;
    // This program's own descriptor of the slave. While it is open, the
    // master never sees a hang-up when the test closes its handle between
    // tests, so a loopback port serves any number of opens.
    int slave = -1;
};

void PlugIn(Port& port);

[[noreturn]] void Die(const std::string& what)
{
    std::fprintf(stderr, "pty-com-peer: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(1);
}

Port MakePort(const std::string& folder, const std::string& argument)
{
    const std::size_t colon = argument.find(':');
    const std::string role = argument.substr(0, colon);
    if (colon == std::string::npos || (role != "loopback" && role != "hangup")) {
        std::fprintf(stderr, "pty-com-peer: '%s' is not loopback:NAME or hangup:NAME\n", argument.c_str());
        std::exit(2);
    }
    Port port{role == "loopback" ? Role::Loopback : Role::Hangup, folder + "/" + argument.substr(colon + 1)};
    PlugIn(port);
    return port;
}

// Makes the port's terminal and points its link at it.
void PlugIn(Port& port)
{
    port.master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (port.master < 0 || grantpt(port.master) != 0 || unlockpt(port.master) != 0)
        Die("making a pseudo-terminal");
    const std::string slavePath = ptsname(port.master);
    port.slave = open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (port.slave < 0)
        Die("opening " + slavePath);
    // Raw from the start: a terminal's default echo would send every byte
    // straight back into the master before Wine has set the port up.
    termios tio{};
    if (tcgetattr(port.slave, &tio) != 0)
        Die("reading the settings of " + slavePath);
    cfmakeraw(&tio);
    if (tcsetattr(port.slave, TCSANOW, &tio) != 0)
        Die("setting " + slavePath + " raw");
    unlink(port.link.c_str());
    if (symlink(slavePath.c_str(), port.link.c_str()) != 0)
        Die("linking " + port.link);
}

// Also removes the link: the pseudo-terminal's number is free for the next
// one made, which may be no port of ours.
void HangUp(Port& port)
{
    close(port.master);
    close(port.slave);
    unlink(port.link.c_str());
    port.master = port.slave = -1;
}

// Answers what the test sent, by the port's role.
void Serve(Port& port)
{
    char buffer[4096];
    const ssize_t got = read(port.master, buffer, sizeof buffer);
    if (got < 0 && errno != EAGAIN && errno != EINTR)
        Die("reading " + port.link);  // never a hang-up: the slave is held open
    if (got <= 0)
        return;
    if (port.role == Role::Hangup) {
        HangUp(port);
        PlugIn(port);
        return;
    }
    // A slave that does not read fills its queue; what does not fit is
    // dropped, as a loopback plug drops what overruns the receiver.
    if (write(port.master, buffer, static_cast<std::size_t>(got)) < 0 && errno != EAGAIN)
        Die("sending back to " + port.link);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: pty-com-peer DOSDEVICES-FOLDER loopback:NAME|hangup:NAME...\n");
        return 2;
    }
    std::vector<Port> ports;
    for (int i = 2; i < argc; ++i)
        ports.push_back(MakePort(argv[1], argv[i]));
    std::printf("ready\n");
    std::fflush(stdout);

    for (;;) {
        std::vector<pollfd> waits{{STDIN_FILENO, POLLIN, 0}};
        for (const Port& port : ports)
            waits.push_back({port.master, POLLIN, 0});  // a closed port's -1 is skipped by poll
        if (poll(waits.data(), waits.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            Die("waiting");
        }
        if (waits[0].revents != 0) {
            char ignored[64];
            if (read(STDIN_FILENO, ignored, sizeof ignored) <= 0)
                break;
        }
        for (std::size_t i = 0; i < ports.size(); ++i)
            if (waits[i + 1].revents != 0)
                Serve(ports[i]);
    }
    for (Port& port : ports)
        if (port.master >= 0)
            HangUp(port);
    return 0;
}
