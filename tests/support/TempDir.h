#pragma once

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace vantor::test {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir()
    {
#ifdef _WIN32
        // No mkdtemp: a name from the clock and a counter, created only if new.
        // Never the name of an earlier run: the settings tests keep their
        // registry branches by the folder's name.
        static unsigned counter = 0;
        const auto base = std::filesystem::temp_directory_path();
        const auto now = std::chrono::system_clock::now().time_since_epoch().count();
        for (int tries = 0; tries < 1000 && m_path.empty(); ++tries) {
            const auto candidate = base / ("vantor-test-" + std::to_string(now) + "-" + std::to_string(++counter));
            if (std::filesystem::create_directory(candidate))
                m_path = candidate;
        }
        if (m_path.empty())
            throw std::runtime_error("no temporary folder");
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "vantor-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
#endif
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

}  // namespace vantor::test
