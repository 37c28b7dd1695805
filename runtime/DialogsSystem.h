// The window system's side of the boxes and the save-file dialog: one
// implementation per platform.
#pragma once

#include "runtime/Dialogs.h"

#include <string>

// The running program file's name, without its folder.
std::string ProgramFileName();

// False where no box can exist (a program without a window application);
// the text then goes to standard error.
bool CanShowBoxes();

// Shows the box and returns when the user has closed it; the wait runs a
// nested message loop.
void ShowSystemBox(const DialogRecord& record);

// Shows the platform's save-file dialog with `dialog`'s settings; true, with
// FileName set to the chosen path, when the user confirmed a file.
bool ExecuteSystemSaveDialog(TSaveDialog& dialog);
