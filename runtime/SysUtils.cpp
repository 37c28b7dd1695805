#include "runtime/SysUtils.h"

#include <cstdio>

namespace {

TExceptionHandler& InstalledHandler()
{
    static TExceptionHandler handler;
    return handler;
}

}  // namespace

void SetExceptionHandler(TExceptionHandler handler)
{
    InstalledHandler() = std::move(handler);
}

void HandleCurrentException() noexcept
{
    try {
        throw;
    } catch (const std::exception& error) {
        try {
            if (InstalledHandler()) {
                InstalledHandler()(error);
                return;
            }
        } catch (...) {
            // A failing handler must not take the event loop down with it.
        }
        std::fprintf(stderr, "%s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "unknown exception\n");
    }
}
