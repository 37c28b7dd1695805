// What the text files need of the system besides opening and writing: how
// long a path is in the characters the length limit counts. One
// implementation per system, picked by the build.
#pragma once

#include <cstddef>
#include <string>

// The number of characters of `path` in the encoding file names have here.
std::size_t PathCharacterCount(const std::string& path);
