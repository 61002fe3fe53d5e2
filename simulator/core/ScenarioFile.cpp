#include "ScenarioFile.h"

#include "AtomicFile.h"
#include "ScenarioError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrava {

namespace {

// A scenario of many 4K cards stays far below this; anything larger is not ours.
constexpr off_t MaxFileSize = 16 * 1024 * 1024;

std::string systemError(int error)
{
    return std::strerror(error);
}

} // namespace

std::string ScenarioFile::defaultLocation()
{
    if (const char *explicitPath = std::getenv("ZENTRAVA_SCENARIO"); explicitPath && *explicitPath)
        return explicitPath;
    // XDG base directories are absolute; a relative value is ignored.
    if (const char *config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return std::string(config) + "/Zentrava/scenario.json";
    const char *home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd *user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    if (!home || !*home)
        return {};
    return std::string(home) + "/.config/Zentrava/scenario.json";
}

ScenarioFile::Stamp ScenarioFile::stamp() const
{
    struct stat info {};
    if (m_path.empty() || ::stat(m_path.c_str(), &info) != 0)
        return {};
    return {true, static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
            static_cast<int64_t>(info.st_size),
            static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

Scenario ScenarioFile::load() const
{
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw ScenarioError(m_path + ": " + systemError(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > MaxFileSize) {
        ::close(fd);
        throw ScenarioError(m_path + ": not a regular file of at most 16 MiB");
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            const int error = errno;
            ::close(fd);
            throw ScenarioError(m_path + ": " + systemError(error));
        }
        if (count == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(count));
        if (text.size() > static_cast<std::size_t>(MaxFileSize)) {
            ::close(fd);
            throw ScenarioError(m_path + ": larger than 16 MiB");
        }
    }
    ::close(fd);
    try {
        return Scenario::parse(text);
    } catch (const ScenarioError &error) {
        throw ScenarioError(m_path + ": " + error.what());
    }
}

void ScenarioFile::save(const std::string &text, bool createFolder) const
{
    const std::filesystem::path target(m_path);
    if (createFolder && target.has_parent_path()) {
        std::error_code ignored;
        std::filesystem::create_directories(target.parent_path(), ignored);
    }
    if (const std::string reason = writeFileAtomically(m_path, text); !reason.empty())
        throw ScenarioError(m_path + ": cannot write: " + reason);
}

} // namespace zentrava
