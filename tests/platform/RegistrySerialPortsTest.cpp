// Port discovery from the registry, against an in-memory registry: which
// rights it opens the key with, what each value gives, and how a value that
// is no text ends the list without losing the ports before it.
#include "platform/RegistrySerialPorts.h"
#include "platform/SerialPorts.h"

#include "FakeRegistryApi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;
using namespace std::string_literals;

namespace {

const std::string kSerialComm = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

using Value = FakeRegistryApi::Value;

std::vector<std::string> Ports(FakeRegistryApi& registry)
{
    return RegistrySerialPorts(registry, HKEY_LOCAL_MACHINE, kSerialComm);
}

std::vector<REGSAM> AccessAsked(const FakeRegistryApi& registry)
{
    std::vector<REGSAM> access;
    for (const auto& open : registry.opens)
        access.push_back(open.access);
    return access;
}

TEST(RegistrySerialPorts, ListsEveryValueInEnumerationOrderUnsortedWithRepeats)
{
    FakeRegistryApi registry;
    registry.AddKey(HKEY_LOCAL_MACHINE, kSerialComm).values = {
        {"\\Device\\Serial2", REG_SZ, "COM3\0"s},
        {"\\Device\\Serial0", REG_SZ, "COM1\0"s},
        {"\\Device\\VCP0", REG_EXPAND_SZ, "COM10\0"s},
        {"\\Device\\Serial1", REG_SZ, "COM1\0"s},
    };
    EXPECT_EQ(Ports(registry), (std::vector<std::string>{"COM3", "COM1", "COM10", "COM1"}));
    EXPECT_EQ(registry.OpenKeys(), 0u);
}

TEST(RegistrySerialPorts, ReadsTheKeyUnderTheRootItIsGiven)
{
    FakeRegistryApi registry;
    registry.AddKey(HKEY_LOCAL_MACHINE, "Software\\Test").values = {{"a", REG_SZ, "COM1\0"s}};
    registry.AddKey(HKEY_CURRENT_USER, "Software\\Test").values = {{"a", REG_SZ, "COM7\0"s}};
    EXPECT_EQ(RegistrySerialPorts(registry, HKEY_CURRENT_USER, "Software\\Test"), std::vector<std::string>{"COM7"});
    ASSERT_EQ(registry.opens.size(), 1u);
    EXPECT_EQ(registry.opens[0].root, HKEY_CURRENT_USER);
    EXPECT_EQ(registry.opens[0].path, "Software\\Test");
}

TEST(RegistrySerialPorts, TextEndsAtItsFirstZeroOrWithItsData)
{
    FakeRegistryApi registry;
    registry.AddKey(HKEY_LOCAL_MACHINE, kSerialComm).values = {
        {"terminated", REG_SZ, "COM4\0"s},
        {"garbage after the end", REG_SZ, "COM5\0junk\0"s},
        {"no terminator", REG_EXPAND_SZ, "COM6"s},
        {"zero first", REG_SZ, "\0COM7\0"s},
    };
    EXPECT_EQ(Ports(registry), (std::vector<std::string>{"COM4", "COM5", "COM6", ""}));
}

TEST(RegistrySerialPorts, EmptyDataOrAValueThatCannotBeQueriedGivesAnEmptyName)
{
    FakeRegistryApi registry;
    registry.AddKey(HKEY_LOCAL_MACHINE, kSerialComm).values = {
        {"empty text", REG_SZ, ""},
        {"empty number", REG_DWORD, ""},  // no data: its type is never looked at
        {"gone", REG_SZ, "COM2\0"s, ERROR_FILE_NOT_FOUND},
        {"grew", REG_SZ, "COM3\0"s, ERROR_SUCCESS, ERROR_MORE_DATA},
        {"after", REG_SZ, "COM9\0"s},
    };
    EXPECT_EQ(Ports(registry), (std::vector<std::string>{"", "", "", "", "COM9"}));
    EXPECT_EQ(registry.OpenKeys(), 0u);
}

TEST(RegistrySerialPorts, DataOfAnotherTypeRaisesWithThePortsBeforeIt)
{
    for (const DWORD type : {REG_NONE, REG_BINARY, REG_DWORD, REG_MULTI_SZ, REG_QWORD}) {
        FakeRegistryApi registry;
        registry.AddKey(HKEY_LOCAL_MACHINE, kSerialComm).values = {
            {"\\Device\\Serial0", REG_SZ, "COM1\0"s},
            {"\\Device\\Serial1", REG_SZ, "COM2\0"s},
            {"\\Device\\Modem", type, "\x01\0\0\0"s},
            {"\\Device\\Serial2", REG_SZ, "COM3\0"s},
        };
        try {
            Ports(registry);
            ADD_FAILURE() << "type " << type << " was taken as text";
        } catch (const SerialPortListError& error) {
            EXPECT_STREQ(error.what(), "Invalid data type for '\\Device\\Modem'") << type;
            EXPECT_EQ(error.Ports(), (std::vector<std::string>{"COM1", "COM2"})) << type;
        }
        EXPECT_EQ(registry.OpenKeys(), 0u) << "the key stays open after type " << type;
    }
}

TEST(RegistrySerialPorts, OpensWithTheWidestRightsTheKeyGrants)
{
    const REGSAM kQueryAndList = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
    const struct {
        REGSAM granted;
        std::vector<REGSAM> asked;
    } cases[] = {
        {KEY_READ, {KEY_READ}},
        {kQueryAndList, {KEY_READ, kQueryAndList}},
        {KEY_QUERY_VALUE, {KEY_READ, kQueryAndList, KEY_QUERY_VALUE}},
    };
    for (const auto& c : cases) {
        FakeRegistryApi registry;
        auto& key = registry.AddKey(HKEY_LOCAL_MACHINE, kSerialComm);
        key.granted = c.granted;
        key.values = {{"\\Device\\Serial0", REG_SZ, "COM1\0"s}};
        EXPECT_EQ(Ports(registry), std::vector<std::string>{"COM1"}) << c.granted;
        EXPECT_EQ(AccessAsked(registry), c.asked) << c.granted;
        EXPECT_EQ(registry.OpenKeys(), 0u) << c.granted;
    }
}

TEST(RegistrySerialPorts, AKeyThatCannotBeOpenedGivesNoPorts)
{
    const std::vector<REGSAM> everyRight = {KEY_READ, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, KEY_QUERY_VALUE};

    FakeRegistryApi missing;
    EXPECT_TRUE(Ports(missing).empty());
    EXPECT_EQ(AccessAsked(missing), everyRight);

    FakeRegistryApi refused;
    auto& key = refused.AddKey(HKEY_LOCAL_MACHINE, kSerialComm);
    key.granted = KEY_ENUMERATE_SUB_KEYS;
    key.values = {{"\\Device\\Serial0", REG_SZ, "COM1\0"s}};
    EXPECT_TRUE(Ports(refused).empty());
    EXPECT_EQ(AccessAsked(refused), everyRight);
}

}  // namespace
