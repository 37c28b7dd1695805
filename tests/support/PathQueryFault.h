// Making the text files' check whether a file exists fail, as a network
// share or USB disk may for a moment.
#pragma once

#include "runtime/TextFilesSystem.h"

#include <string>

// While it lives, the check whether a file exists fails with the system
// error `error`, as a network share or USB disk may for a moment.
class ScopedPathQueryFault {
public:
    explicit ScopedPathQueryFault(int error) : FPrevious(SetPathQuery(&Fail)) { Error() = error; }
    ~ScopedPathQueryFault() { SetPathQuery(FPrevious); }
    ScopedPathQueryFault(const ScopedPathQueryFault&) = delete;
    ScopedPathQueryFault& operator=(const ScopedPathQueryFault&) = delete;

private:
    static int& Error()
    {
        static int error = 0;
        return error;
    }
    static int Fail(const std::string&, bool&) { return Error(); }

    TPathQuery FPrevious;
};
