#include "runtime/TextFiles.h"

#include "runtime/TextFilesSystem.h"

std::string InOutErrorMessage(int code)
{
    switch (code) {
    case kFileNotFound: return "File not found";
    case kInvalidFilename: return "Invalid filename";
    case kTooManyOpenFiles: return "Too many open files";
    case kFileAccessDenied: return "File access denied";
    case kReadBeyondEnd: return "Read beyond end of file";
    case kDiskFull: return "Disk full";
    case kInvalidNumericInput: return "Invalid numeric input";
    default: return Format("I/O error %d", code);
    }
}

EInOutError::EInOutError(int code) : EInOutError(code, InOutErrorMessage(code)) {}

EInOutError::EInOutError(int code, const std::string& message) : Exception(message), FErrorCode(code) {}

void CheckPathUsable(const std::string& path)
{
    if (PathCharacterCount(path) > kMaxPathLength)
        throw EInOutError(kInvalidFilename, InOutErrorMessage(kInvalidFilename) + ": the path is longer than " +
                                                std::to_string(kMaxPathLength) + " characters");
    if (path.empty() || path.find('\0') != std::string::npos)
        throw EInOutError(kInvalidFilename);
}

namespace {

TPathQuery& PathQuery()
{
    static TPathQuery query = QueryPath;
    return query;
}

}  // namespace

TPathQuery SetPathQuery(TPathQuery query)
{
    const TPathQuery previous = PathQuery();
    PathQuery() = query != nullptr ? query : QueryPath;
    return previous;
}

bool FileIsPlainFile(const std::string& path)
{
    if (path.empty() || PathCharacterCount(path) > kMaxPathLength)
        return false;
    bool isFolder = false;
    if (const int error = PathQuery()(path, isFolder); error != 0)
        // A share or disk that fails the question for a moment must not
        // have its log replaced by an empty one: only a file that is
        // certainly missing counts as missing. Appending then meets the
        // real fault and reports it.
        return !ErrorMeansMissing(error);
    return !isFolder;
}
