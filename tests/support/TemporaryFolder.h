#pragma once
// A new, empty folder made the process's temporary directory, and removed
// with everything in it when the test is done.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>

namespace quillet {

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::random_device random;
        do
            m_path = std::filesystem::temp_directory_path() / ("quillet-test-" + std::to_string(random()));
        while (!std::filesystem::create_directory(m_path));
        if (const char *saved = std::getenv(Variable))
            m_saved = saved;
        setVariable(m_path.string().c_str());
    }
    ~TemporaryFolder()
    {
        setVariable(m_saved ? m_saved->c_str() : nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;

    const std::filesystem::path &path() const { return m_path; }

private:
#ifdef _WIN32
    static constexpr const char *Variable = "TMP"; // what GetTempPath reads first
    static void setVariable(const char *value) { _putenv_s(Variable, value ? value : ""); }
#else
    static constexpr const char *Variable = "TMPDIR";
    static void setVariable(const char *value)
    {
        if (value)
            ::setenv(Variable, value, 1);
        else
            ::unsetenv(Variable);
    }
#endif

    std::filesystem::path m_path;
    std::optional<std::string> m_saved;
};

} // namespace quillet
