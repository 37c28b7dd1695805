// The text-file operations of the reading log and the I/O error they raise.
#pragma once

#include "runtime/SysUtils.h"

#include <string>

// The longest file path the log accepts, in characters. Longer paths are
// refused with EInOutError code 3 ("Invalid filename: the path is longer
// than 259 characters") before anything is opened, so a path cut short can
// never make us write somewhere else.
inline constexpr std::size_t kMaxPathLength = 259;

// Error codes of the I/O error; each has its fixed message below.
inline constexpr int kFileNotFound = 2;
inline constexpr int kInvalidFilename = 3;
inline constexpr int kTooManyOpenFiles = 4;
inline constexpr int kFileAccessDenied = 5;
inline constexpr int kSharingViolation = 32;
inline constexpr int kReadBeyondEnd = 100;
inline constexpr int kDiskFull = 101;
inline constexpr int kInvalidNumericInput = 106;
// On Linux, system errors without a classic counterpart are reported as this
// base plus errno, e.g. EIO (5) becomes "I/O error 1005", so they never
// collide with the classic codes above. Windows' own error codes are the
// classic codes already and are reported as they are.
inline constexpr int kErrnoCodeBase = 1000;

// A failed file operation; the message comes from the code: "File not found",
// "Invalid filename", ..., "I/O error %d" for codes without a text of their own.
class EInOutError : public Exception {
public:
    explicit EInOutError(int code);
    // The code with a more precise message than the code's own.
    EInOutError(int code, const std::string& message);

    int ErrorCode() const noexcept { return FErrorCode; }

private:
    int FErrorCode;
};

// The message text for an I/O error code.
std::string InOutErrorMessage(int code);

// What the failing call was doing; ENOENT means different things for each.
enum class TFileStep { fsOpen, fsWrite, fsClose };

// Maps a system error number (errno on Linux, GetLastError on Windows) onto
// an I/O error code. `path` is the file the step worked on: on Linux, ENOENT
// on opening is "File not found" when the folder exists and "Invalid
// filename" when a folder on the path is missing (Windows tells the two
// apart itself, as codes 2 and 3). Errors with a message of their own (disk
// full, a bad name) take that message's code.
int InOutErrorCodeFromSystemError(int error, TFileStep step, const std::string& path);

// Raises EInOutError 3 for a path that cannot name a file: empty, with a
// zero character, or longer than kMaxPathLength characters (UTF-8 code
// points on Linux, UTF-16 units on Windows).
void CheckPathUsable(const std::string& path);

// True when `path` names something that exists and is not a folder, and
// also when the system fails to say for another reason than that nothing is
// there: such a file may well exist, and appending to it reports the fault
// where creating it would have emptied it. Never raises; an unusable path
// (too long, empty) counts as not existing.
bool FileIsPlainFile(const std::string& path);

// Creates `path` as an empty file, replacing the content of an existing one,
// and closes it. Raises EInOutError on any failure.
void CreateTextFile(const std::string& path);

// Appends `line` followed by CR LF to the existing file `path` and closes it.
// The file is held exclusively against other writers while it is written
// ("I/O error 32" when one holds it): on Linux against writers of this
// program (an advisory lock), on Windows against any (others may only read). The line is written whole
// or not at all: a write that fails or stores fewer bytes than asked ("Disk
// full") leaves a plain file as it was before. The file is closed in every
// case; failures of open, write or close raise EInOutError.
void AppendToFile(const std::string& path, const std::string& line);
