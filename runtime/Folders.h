// The folders the program offers the user for its files.
#pragma once

#include <string>

// The folder of the running program file, with its trailing separator.
std::string ProgramFolder();

// Where the user keeps documents: the desktop's documents folder when it
// exists, the home folder otherwise. With its trailing separator.
std::string UserDocumentsFolder();

// True when a file can be created in `folder`: it exists, and this process
// may write and search it on a file system mounted for writing.
bool FolderIsWritable(const std::string& folder);

// True when files made in `folder` stay there for the user: the folder is
// writable and, on Windows, not inside the user's temporary folder, which
// the system clears (a program started from a zip the shell opened runs
// from there).
bool FolderKeepsFiles(const std::string& folder);
