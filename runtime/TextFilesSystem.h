// What the text files need of the system besides opening and writing: how
// long a path is in the characters the length limit counts, and what a path
// names. One implementation per system, picked by the build.
#pragma once

#include <cstddef>
#include <string>

// The number of characters of `path` in the encoding file names have here.
std::size_t PathCharacterCount(const std::string& path);

// Asks the system what `path` names: 0 with `isFolder` set, or the system's
// error number (errno, GetLastError) when it cannot say.
int QueryPath(const std::string& path, bool& isFolder);

// True for the errors that mean nothing is at the path (not found, a folder
// on the way missing). Any other failure to look leaves open whether a file
// is there.
bool ErrorMeansMissing(int error);

// The query FileIsPlainFile asks, QueryPath unless a test has put another
// in its place (to make the check fail as a flaky share or disk would).
// Returns the one it replaces; null puts QueryPath back.
using TPathQuery = int (*)(const std::string& path, bool& isFolder);
TPathQuery SetPathQuery(TPathQuery query);
