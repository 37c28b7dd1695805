// Port discovery against the system's own registry: values the test writes
// under a key of its own, and the system's SERIALCOMM key.
#include "platform/RegistrySerialPorts.h"
#include "platform/SerialPorts.h"
#include "platform/win32/SystemRegistry.h"

#include "SystemSide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace platform;
using namespace std::string_literals;

namespace {

std::vector<std::string> PortsUnder(const std::string& path)
{
    return RegistrySerialPorts(SystemRegistryApi(), HKEY_CURRENT_USER, path);
}

// Names in the order they are made, which is also their alphabetical order:
// Windows enumerates values in the one, Wine in the other.
TEST(Win32Registry, ListsTheTextOfEveryValueInOrder)
{
    ScratchRegistryKey key;
    ASSERT_TRUE(key.Ok());
    ASSERT_TRUE(key.Set("1 serial", REG_SZ, "COM3\0"s));
    ASSERT_TRUE(key.Set("2 expandable", REG_EXPAND_SZ, "COM10\0"s));
    ASSERT_TRUE(key.Set("3 empty", REG_SZ, ""));
    ASSERT_TRUE(key.Set("4 garbage after the end", REG_SZ, "COM4\0junk\0"s));
    ASSERT_TRUE(key.Set("5 no terminator", REG_SZ, "COM5"s));
    ASSERT_TRUE(key.Set("6 repeated", REG_SZ, "COM3\0"s));
    EXPECT_EQ(PortsUnder(key.Path()), (std::vector<std::string>{"COM3", "COM10", "", "COM4", "COM5", "COM3"}));
}

TEST(Win32Registry, AValueOfAnotherTypeEndsTheListWithThePortsBeforeIt)
{
    ScratchRegistryKey key;
    ASSERT_TRUE(key.Ok());
    ASSERT_TRUE(key.Set("1 serial", REG_SZ, "COM1\0"s));
    ASSERT_TRUE(key.Set("2 modem", REG_DWORD, "\x07\0\0\0"s));
    ASSERT_TRUE(key.Set("3 serial", REG_SZ, "COM2\0"s));
    try {
        PortsUnder(key.Path());
        ADD_FAILURE() << "a number was taken as text";
    } catch (const SerialPortListError& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for '2 modem'");
        EXPECT_EQ(error.Ports(), std::vector<std::string>{"COM1"});
    }
}

TEST(Win32Registry, AKeyThatDoesNotExistGivesNoPortsAndIsNotMade)
{
    ScratchRegistryKey key;
    ASSERT_TRUE(key.Ok());
    const std::string missing = key.Path() + "\\missing";
    EXPECT_TRUE(PortsUnder(missing).empty());
    EXPECT_FALSE(ScratchRegistryKey::Exists(missing));
}

TEST(Win32Registry, TheSystemsPortsComeFromSerialComm)
{
    const std::vector<std::string> ports = SystemSerialPorts();
    if (!RunningUnderWine())
        GTEST_SKIP() << "which ports a Windows machine has is its own; Wine always has COM1";
    EXPECT_NE(std::find(ports.begin(), ports.end(), "COM1"), ports.end()) << ports.size() << " ports";
}

}  // namespace
