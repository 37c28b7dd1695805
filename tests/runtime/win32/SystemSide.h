// What the runtime's Windows tests ask of the system directly, past the code
// under test: whether Wine runs them, and the user's settings changed for the
// span of one test.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// True under Wine, whose ntdll exports wine_get_version; Windows' does not.
bool RunningUnderWine();

// One of the user's regional settings (LOCALE_SDECIMAL, LOCALE_SSHORTDATE,
// ...) set with SetLocaleInfoA, and put back as it was when the object goes.
class ScopedUserLocaleInfo {
public:
    ScopedUserLocaleInfo(LCTYPE item, const std::string& value);
    ~ScopedUserLocaleInfo();
    ScopedUserLocaleInfo(const ScopedUserLocaleInfo&) = delete;
    ScopedUserLocaleInfo& operator=(const ScopedUserLocaleInfo&) = delete;

    bool Ok() const { return FOk; }

private:
    LCTYPE FItem;
    std::string FSaved;
    bool FOk = false;
};

// A text value under HKEY_CURRENT_USER set for the span of a test; the old
// value is put back, or the value deleted when there was none. Names and
// value in UTF-8.
class ScopedUserRegistryText {
public:
    ScopedUserRegistryText(const std::string& key, const std::string& name, const std::string& value);
    ~ScopedUserRegistryText();
    ScopedUserRegistryText(const ScopedUserRegistryText&) = delete;
    ScopedUserRegistryText& operator=(const ScopedUserRegistryText&) = delete;

    bool Ok() const { return FOk; }

private:
    std::string FKey;
    std::string FName;
    std::optional<std::pair<DWORD, std::string>> FSaved;
    bool FOk = false;
};

// Runs this test program again with `variable`=`value` in its environment,
// for a test that answers from a fresh process before any test runs; its
// exit status, or -1 when it could not be started or did not end within a
// minute.
int RunThisProgramWith(const std::string& variable, const std::string& value);
// The same for `program`, with `arguments` on its command line.
int RunProgramWith(const std::wstring& program, const std::string& variable, const std::string& value,
                   const std::wstring& arguments = {});
