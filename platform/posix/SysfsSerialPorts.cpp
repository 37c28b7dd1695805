#include "platform/posix/SysfsSerialPorts.h"

#include "platform/SerialPorts.h"
#include "platform/VirtualPorts.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace platform {
namespace posix {
namespace {

// "ttyUSB2" before "ttyUSB10": runs of digits compare by value.
bool NaturalLess(const std::string& a, const std::string& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) && std::isdigit(static_cast<unsigned char>(b[j]))) {
            std::size_t endA = i, endB = j;
            while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA])))
                ++endA;
            while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB])))
                ++endB;
            const std::string numberA = a.substr(i, endA - i), numberB = b.substr(j, endB - j);
            if (numberA.size() != numberB.size())
                return numberA.size() < numberB.size();
            if (numberA != numberB)
                return numberA < numberB;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

std::string ReadSysfsText(const fs::path& file)
{
    std::ifstream in(file);
    std::string text;
    std::getline(in, text);
    return text;
}

bool IsHardwarePort(const fs::path& tty)
{
    std::error_code error;
    if (!fs::exists(tty / "device", error))
        return false;
    // The 8250 driver registers a fixed number of ttyS ports whether or not
    // a UART answers; an absent one reports type 0 (PORT_UNKNOWN).
    const std::string name = tty.filename().string();
    return !name.starts_with("ttyS") || ReadSysfsText(tty / "type") != "0";
}

std::vector<std::string> SortedNatural(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

}  // namespace

std::vector<std::string> SerialPortsIn(const std::string& sysfsRoot, const std::string& virtualFolder)
{
    std::vector<std::string> hardware, served;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(sysfsRoot) / "class" / "tty", error)) {
        if (IsHardwarePort(entry.path()))
            hardware.push_back(entry.path().filename().string());
    }
    for (const auto& entry : fs::directory_iterator(virtualFolder, error)) {
        // A link left by a simulator that died points nowhere.
        if (entry.is_symlink(error) && fs::exists(entry.path(), error))
            served.push_back(entry.path().filename().string());
    }
    std::vector<std::string> ports = SortedNatural(std::move(hardware));
    for (const std::string& name : SortedNatural(std::move(served))) {
        // By its bare name, which opens it, unless /dev has a device of that
        // name, which would open instead.
        ports.push_back(fs::exists(fs::path("/dev") / name, error) ? (fs::path(virtualFolder) / name).string() : name);
    }
    return ports;
}

}  // namespace posix

std::vector<std::string> SystemSerialPorts()
{
    return posix::SerialPortsIn("/sys", VirtualPortFolder());
}

}  // namespace platform
