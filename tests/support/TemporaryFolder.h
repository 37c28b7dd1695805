// A folder of the test's own under the system's temporary folder, removed
// with everything in it when the object goes. Needs no Qt, so the tests that
// also run on Windows can use it.
#pragma once

#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        static std::atomic<unsigned> count {0};
        std::random_device random;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100 && FPath.empty(); ++attempt) {
            const auto candidate = base / ("umbrascope-test-" + std::to_string(random()) + "-" + std::to_string(++count));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error))
                FPath = candidate.string();
        }
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder()
    {
        std::error_code ignored;
        if (!FPath.empty())
            std::filesystem::remove_all(FPath, ignored);
    }

    bool Ok() const { return !FPath.empty(); }
    // The folder, without a trailing separator, in the system's own spelling.
    const std::string& Path() const { return FPath; }
    // `name` inside the folder, joined with the system's separator.
    std::string PathOf(const std::string& name) const { return (std::filesystem::path(FPath) / name).string(); }

private:
    std::string FPath;
};
