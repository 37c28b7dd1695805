// The manifest as Windows reads it out of the built Umbrascope.exe: for the
// 64-bit and the 32-bit build, which tools/windows/run-wine-tests.sh names
// in UMBRASCOPE_TEST_EXE and UMBRASCOPE_TEST_EXE_X86 (Windows paths).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Environment(const wchar_t* name)
{
    std::wstring value(32768, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    value.resize(length < value.size() ? length : 0);
    return value;
}

// Resource 1 of type RT_MANIFEST, which the loader applies when the program
// starts; the file is mapped as data, so an executable of the other
// architecture reads as well.
std::string ManifestOf(const std::wstring& path)
{
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr)
        return {};
    std::string text;
    // RT_MANIFEST is 24; the header spells it and id 1 for the narrow calls.
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        if (HGLOBAL loaded = LoadResource(module, found))
            text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

void ExpectManifest(const wchar_t* variable, DWORD binaryType)
{
    const std::wstring path = Environment(variable);
    if (path.empty())
        GTEST_SKIP() << "no executable named: run it through tools/windows/run-wine-tests.sh from ./dev.sh test";
    DWORD type = ~DWORD{0};
    ASSERT_TRUE(GetBinaryTypeW(path.c_str(), &type)) << "no executable at the named path";
    EXPECT_EQ(type, binaryType) << "the build of the architecture asked for";

    const std::string manifest = ManifestOf(path);
    ASSERT_FALSE(manifest.empty()) << "no manifest resource";
    // Not virtualised: a 32-bit program's log under Program Files would
    // otherwise land in the user's VirtualStore.
    EXPECT_NE(manifest.find(R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"), std::string::npos)
        << manifest;
    EXPECT_NE(manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos) << manifest;
}

TEST(Manifest, The64BitProgramRunsAsInvokerAndAwareOfTheScreensDensity)
{
    ExpectManifest(L"UMBRASCOPE_TEST_EXE", SCS_64BIT_BINARY);
}

TEST(Manifest, The32BitProgramRunsAsInvokerAndAwareOfTheScreensDensity)
{
    ExpectManifest(L"UMBRASCOPE_TEST_EXE_X86", SCS_32BIT_BINARY);
}

}  // namespace
