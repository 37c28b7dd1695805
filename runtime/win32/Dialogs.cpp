// The boxes and the save-file dialog on Windows: the system's message box
// and its common save dialog, both modal to the active window.
#include "runtime/DialogsSystem.h"

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
std::string SystemFilter(const TSaveDialog& dialog)
{
    std::string filter;
    for (const auto& [description, pattern] : dialog.FilterPairs()) {
        filter += description;
        filter += '\0';
        filter += pattern;
        filter += '\0';
    }
    filter += '\0';
    return filter;
}

}  // namespace

std::string ProgramFileName()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return "";
        if (length < path.size()) {
            const std::string full(path.data(), length);
            return full.substr(full.find_last_of("\\/") + 1);
        }
        path.resize(path.size() * 2);
    }
}

bool CanShowBoxes()
{
    return true;
}

void ShowSystemBox(const DialogRecord& record)
{
    MessageBoxA(GetActiveWindow(), record.Text.c_str(), record.Caption.c_str(), MB_OK | IconFor(record.Type));
}

bool ExecuteSystemSaveDialog(TSaveDialog& dialog)
{
    const std::string filter = SystemFilter(dialog);
    const std::string folder = dialog.StartFolder();
    const std::string suffix = dialog.DefaultSuffix();
    // The dialog hands back at most MAX_PATH characters with the zero; a
    // longer name is refused by the dialog itself.
    char file[MAX_PATH] = {};
    dialog.FileName().copy(file, sizeof file - 1);

    OPENFILENAMEA settings{};
    settings.lStructSize = sizeof settings;
    settings.hwndOwner = GetActiveWindow();
    settings.lpstrFilter = filter.c_str();
    settings.nFilterIndex = static_cast<DWORD>(dialog.FilterIndex());
    settings.lpstrFile = file;
    settings.nMaxFile = sizeof file;
    settings.lpstrInitialDir = folder.c_str();
    settings.lpstrTitle = dialog.Title().empty() ? nullptr : dialog.Title().c_str();
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
    if (!GetSaveFileNameA(&settings))
        return false;
    dialog.SetFileName(file);
    return true;
}
