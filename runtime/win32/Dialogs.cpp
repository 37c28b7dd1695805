// The boxes and the save-file dialog on Windows: the system's message box
// and its common save dialog, both modal to the program's main window.
#include "runtime/DialogsSystem.h"

#include "runtime/win32/WideText.h"
#include "runtime/win32/Win32Controls.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

namespace {

UINT IconFor(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return MB_ICONWARNING;
    case mtError:
        return MB_ICONERROR;
    case mtInformation:
        return MB_ICONINFORMATION;
    case mtConfirmation:
        return MB_ICONQUESTION;
    case mtCustom:
        break;
    }
    return 0;
}

// Description and pattern pairs, each ended by a zero, and one more zero at
// the end.
std::wstring SystemFilter(const TSaveDialog& dialog)
{
    std::wstring filter;
    for (const auto& [description, pattern] : dialog.FilterPairs()) {
        filter += WideFromUtf8(description);
        filter += L'\0';
        filter += WideFromUtf8(pattern);
        filter += L'\0';
    }
    filter += L'\0';
    return filter;
}

// The window a box belongs to. The main window, whether or not it is
// active: a box about a failed log step or an unplugged meter comes while
// the program sits in the background overnight, and an unowned box could
// open behind other windows and leave the main window usable meanwhile.
// Before there is a main window (and in tests without one), the active one.
HWND BoxOwner()
{
    HWND main = MainFormWindow();
    return main != nullptr && IsWindowVisible(main) ? main : GetActiveWindow();
}

}  // namespace

std::string ProgramFileName()
{
    const std::string full = ProgramFilePath();
    return full.substr(full.find_last_of("\\/") + 1);
}

bool CanShowBoxes()
{
    return true;
}

void ShowSystemBox(const DialogRecord& record)
{
    MessageBoxW(BoxOwner(), WideFromUtf8(record.Text).c_str(), WideFromUtf8(record.Caption).c_str(),
                MB_OK | IconFor(record.Type));
}

bool ExecuteSystemSaveDialog(TSaveDialog& dialog)
{
    const std::wstring filter = SystemFilter(dialog);
    const std::wstring folder = WideFromUtf8(dialog.StartFolder());
    const std::wstring title = WideFromUtf8(dialog.Title());
    const std::wstring suffix = WideFromUtf8(dialog.DefaultSuffix());
    // The dialog hands back at most MAX_PATH characters with the zero; a
    // longer name is refused by the dialog itself.
    wchar_t file[MAX_PATH] = {};
    WideFromUtf8(dialog.FileName()).copy(file, MAX_PATH - 1);

    OPENFILENAMEW settings{};
    settings.lStructSize = sizeof settings;
    settings.hwndOwner = BoxOwner();
    settings.lpstrFilter = filter.c_str();
    settings.nFilterIndex = static_cast<DWORD>(dialog.FilterIndex());
    settings.lpstrFile = file;
    settings.nMaxFile = MAX_PATH;
    settings.lpstrInitialDir = folder.c_str();
    settings.lpstrTitle = title.empty() ? nullptr : title.c_str();
    settings.lpstrDefExt = suffix.empty() ? nullptr : suffix.c_str();
    // No check that the folder exists, and no question about an existing
    // file unless asked for.
    settings.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    if ((dialog.Options() & ofHideReadOnly) != 0)
        settings.Flags |= OFN_HIDEREADONLY;
    if ((dialog.Options() & ofEnableSizing) != 0)
        settings.Flags |= OFN_ENABLESIZING;
    if ((dialog.Options() & ofOverwritePrompt) != 0)
        settings.Flags |= OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameW(&settings))
        return false;
    dialog.SetFileName(Utf8FromWide(file));
    return true;
}
