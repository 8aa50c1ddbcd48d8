// The settings store on Linux: each top key is an INI file under the user's
// configuration folder, its subkeys are groups of that file.
#include "SettingsStore.h"

#include "AtomicFile.h"
#include "IniFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace vantor {

namespace {

std::vector<std::string> components(const std::string& keyPath)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(keyPath);
    while (std::getline(in, part, '\\'))
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

std::string joined(const std::vector<std::string>& parts, size_t from, size_t to, char separator)
{
    std::string out;
    for (size_t i = from; i < to; ++i)
        out += (i > from ? std::string(1, separator) : std::string()) + parts[i];
    return out;
}

std::string homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0')
        return home;
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/";
}

std::optional<std::string> fileContent(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Writers of the folder's settings files take turns, so that two programs
// changing values at once both see their change kept.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder) : m_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd >= 0)
            while (flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd;
};

}  // namespace

struct SettingsStore::ParsedFile {
    struct stat identity {};
    IniFile ini;
};

SettingsStore::SettingsStore(std::string root) : m_root(std::move(root)) {}

SettingsStore::~SettingsStore() = default;

std::string SettingsStore::defaultRoot()
{
    // The XDG rule: a relative XDG_CONFIG_HOME is to be ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/')
        return config;
    return homeFolder() + "/.config";
}

SettingsStore::Place SettingsStore::placeOf(const std::string& keyPath) const
{
    // "Software\VantorPC\Probe" lives in <root>/Software/VantorPC.ini, group "Probe".
    const std::vector<std::string> parts = components(keyPath);
    const size_t fileParts = std::min<size_t>(2, parts.size());
    const std::filesystem::path file =
        std::filesystem::path(m_root) / (joined(parts, 0, fileParts, '/') + ".ini");
    return {file.lexically_normal().string(), joined(parts, fileParts, parts.size(), '/')};
}

std::string SettingsStore::location(const std::string& keyPath) const { return placeOf(keyPath).file; }

const IniFile* SettingsStore::parsed(const std::string& file) const
{
    // A file is parsed again only when it changed: start-up reads some sixty
    // values. A rewrite in place to the same size within the file system's
    // time-stamp tick goes unseen; the program's own writes replace the file.
    struct stat now {};
    if (::stat(file.c_str(), &now) != 0 || !S_ISREG(now.st_mode)) {
        m_files.erase(file);
        return nullptr;
    }
    std::unique_ptr<ParsedFile>& cached = m_files[file];
    if (cached && cached->identity.st_ino == now.st_ino && cached->identity.st_dev == now.st_dev &&
        cached->identity.st_size == now.st_size && cached->identity.st_mtim.tv_sec == now.st_mtim.tv_sec &&
        cached->identity.st_mtim.tv_nsec == now.st_mtim.tv_nsec &&
        cached->identity.st_ctim.tv_sec == now.st_ctim.tv_sec && cached->identity.st_ctim.tv_nsec == now.st_ctim.tv_nsec)
        return &cached->ini;
    const std::optional<std::string> content = fileContent(file);
    if (!content) {
        m_files.erase(file);
        return nullptr;
    }
    cached = std::make_unique<ParsedFile>(ParsedFile{now, IniFile(*content)});
    return &cached->ini;
}

bool SettingsStore::keyExists(const std::string& keyPath) const
{
    const Place place = placeOf(keyPath);
    if (::access(place.file.c_str(), W_OK) != 0)
        return false;
    const IniFile* ini = parsed(place.file);
    if (ini == nullptr)
        return false;
    return place.group.empty() || ini->hasGroup(place.group.substr(0, place.group.find('/')));
}

bool SettingsStore::createKey(const std::string& keyPath)
{
    const Place place = placeOf(keyPath);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(place.file).parent_path(), error);
    if (error)
        return false;
    const int fd = ::open(place.file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

std::optional<std::string> SettingsStore::value(const std::string& keyPath, const std::string& name) const
{
    const Place place = placeOf(keyPath);
    const IniFile* ini = parsed(place.file);
    if (ini == nullptr)
        return std::nullopt;
    return ini->value(place.group.empty() ? name : place.group + '/' + name);
}

std::string SettingsStore::readText(const std::string& keyPath, const std::string& name,
                                    const std::string& fallback) const
{
    return value(keyPath, name).value_or(fallback);
}

int32_t SettingsStore::readNumber(const std::string& keyPath, const std::string& name, int32_t fallback) const
{
    const std::optional<std::string> text = value(keyPath, name);
    if (!text)
        return fallback;
    // Whole decimal numbers only, with spaces around and a sign allowed.
    const char* begin = text->c_str();
    while (*begin == ' ' || *begin == '\t')
        ++begin;
    if (*begin == '\0' || (*begin != '-' && *begin != '+' && (*begin < '0' || *begin > '9')))
        return fallback;
    char* end = nullptr;
    errno = 0;
    const long long number = std::strtoll(begin, &end, 10);
    while (*end == ' ' || *end == '\t')
        ++end;
    if (errno != 0 || *end != '\0' || number < INT32_MIN || number > UINT32_MAX)
        return fallback;
    // A number is a 32-bit word: 4294967295 and -1 are the same value.
    return static_cast<int32_t>(static_cast<uint32_t>(number));
}

void SettingsStore::writeValue(const std::string& keyPath, const std::string& name, const std::string& text)
{
    const Place place = placeOf(keyPath);
    if (!createKey(keyPath))
        return;
    // A file that is a link to another (kept elsewhere by its user) stays one.
    std::error_code error;
    const std::filesystem::path target = std::filesystem::canonical(place.file, error);
    const std::string file = error ? place.file : target.string();

    const FolderLock lock(std::filesystem::path(file).parent_path().string());
    const std::optional<std::string> before = fileContent(file);
    if (!before)
        return;
    IniFile ini(*before);
    ini.setValue(place.group.empty() ? name : place.group + '/' + name, text);
    const std::string after = ini.text();
    if (after != *before)
        replaceFile(file, after);
}

void SettingsStore::writeText(const std::string& keyPath, const std::string& name, const std::string& text)
{
    writeValue(keyPath, name, text);
}

void SettingsStore::writeNumber(const std::string& keyPath, const std::string& name, int32_t value)
{
    writeValue(keyPath, name, std::to_string(value));
}

}  // namespace vantor
