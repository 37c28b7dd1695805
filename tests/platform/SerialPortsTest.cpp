// Which serial ports the port list offers, from a sysfs tree of the test's
// own making and a folder of served ports.
#include "platform/posix/SysfsSerialPorts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using platform::posix::SerialPortsIn;

namespace {

class SerialPorts : public ::testing::Test {
protected:
    SerialPorts()
    {
        char pattern[] = "/tmp/umbrascope-ports-test-XXXXXX";
        root = mkdtemp(pattern);
        fs::create_directories(root / "sys/class/tty");
        fs::create_directories(root / "served");
    }
    ~SerialPorts() override { fs::remove_all(root); }

    // A tty as sysfs shows it: with a device behind it or not, and for 8250
    // ports the UART type.
    void Tty(const std::string& name, bool hasDevice, const char* type = nullptr)
    {
        const fs::path tty = root / "sys/class/tty" / name;
        fs::create_directories(tty);
        if (hasDevice) {
            fs::create_directories(root / "devices" / name);
            fs::create_directory_symlink(root / "devices" / name, tty / "device");
        }
        if (type != nullptr)
            std::ofstream(tty / "type") << type << "\n";
    }

    std::vector<std::string> Ports() const { return SerialPortsIn((root / "sys").string(), (root / "served").string()); }

    fs::path root;
};

TEST_F(SerialPorts, OffersHardwarePortsInNaturalOrderAndSkipsPlaceholders)
{
    Tty("tty0", false);           // a virtual console
    Tty("ptmx", false);
    Tty("ttyS0", true, "4");      // a 16550A that is really there
    Tty("ttyS1", true, "0");      // a placeholder without a UART
    Tty("ttyS31", true, "0");
    Tty("ttyUSB10", true);
    Tty("ttyUSB2", true);
    Tty("ttyACM0", true);
    EXPECT_EQ(Ports(), (std::vector<std::string>{"ttyACM0", "ttyS0", "ttyUSB2", "ttyUSB10"}));
}

TEST_F(SerialPorts, ServedPortsFollowByNameWhileTheirDeviceExists)
{
    Tty("ttyUSB0", true);
    fs::create_symlink("/dev/null", root / "served" / "sim");
    fs::create_symlink("/dev/null", root / "served" / "null");  // /dev has a "null": the path tells them apart
    fs::create_symlink(root / "gone", root / "served" / "stale");
    std::ofstream(root / "served" / "notalink") << "x";
    EXPECT_EQ(Ports(), (std::vector<std::string>{"ttyUSB0", (root / "served" / "null").string(), "sim"}));
}

TEST_F(SerialPorts, UnreadableFoldersGiveNoNames)
{
    EXPECT_TRUE(SerialPortsIn((root / "nothing").string(), (root / "nothing").string()).empty());
}

}  // namespace
