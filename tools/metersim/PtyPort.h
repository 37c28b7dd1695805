// The pseudo-terminal the simulator serves, and the symbolic link under which
// the monitor finds it.
#pragma once

#include <string>

namespace metersim {

class PtyPort {
public:
    // Throws std::system_error when no pseudo-terminal can be had.
    PtyPort();
    ~PtyPort() { Close(); }
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    int Master() const { return master_; }
    int Slave() const { return slave_; }
    const std::string& SlavePath() const { return slavePath_; }
    // Both ends go, as when the adapter is pulled: the monitor's open port
    // is hung up.
    void Close();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// "metersim" in the per-user folder where the monitor looks for ports.
std::string DefaultLinkPath();

class PortLink {
public:
    PortLink() = default;
    ~PortLink() { Remove(); }
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;

    // Points `path` at `target`, making missing folders (mode 0700) and
    // replacing an older link. Returns what went wrong, or empty.
    std::string Publish(const std::string& path, const std::string& target);
    // Removes the link unless someone has pointed it elsewhere meanwhile.
    void Remove();

private:
    std::string path_;
    std::string target_;
};

}  // namespace metersim
