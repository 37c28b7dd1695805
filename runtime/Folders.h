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
