#include "AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vantor {

namespace {

// A name beside the file that no other writer uses: the process and a counter.
std::string temporaryNameFor(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
#ifdef _WIN32
    const int process = _getpid();
#else
    const int process = static_cast<int>(getpid());
#endif
    return path + ".tmp" + std::to_string(process) + "-" + std::to_string(counter++);
}

// Opens a new file for writing, never one that exists, with the permissions a
// newly created file gets.
std::FILE* createNew(const std::string& path)
{
#ifdef _WIN32
    const int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    return fd < 0 ? nullptr : _fdopen(fd, "wb");
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    std::FILE* file = fdopen(fd, "wb");
    if (!file)
        ::close(fd);
    return file;
#endif
}

bool flushToDisk(std::FILE* file)
{
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

bool renameOver(const std::string& from, const std::string& to)
{
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

AtomicFile::~AtomicFile() { cancel(); }

bool AtomicFile::open()
{
    cancel();
    m_failed = false;
    for (int tries = 0; tries < 100 && !m_file; ++tries) {
        m_temporary = temporaryNameFor(m_path);
        m_file = createNew(m_temporary);
        if (!m_file && errno != EEXIST)
            break;
    }
    if (!m_file) {
        m_temporary.clear();
        m_failed = true;
    }
    return m_file != nullptr;
}

bool AtomicFile::write(std::span<const uint8_t> bytes)
{
    if (!m_file || m_failed)
        return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
        m_failed = true;
    return !m_failed;
}

bool AtomicFile::write(std::string_view text)
{
    return write(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

bool AtomicFile::commit()
{
    if (!m_file)
        return false;
    const bool flushed = !m_failed && flushToDisk(m_file);
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (!flushed || !closed || !renameOver(m_temporary, m_path)) {
        std::remove(m_temporary.c_str());
        m_temporary.clear();
        return false;
    }
    m_temporary.clear();
    return true;
}

void AtomicFile::cancel()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temporary.empty()) {
        std::remove(m_temporary.c_str());
        m_temporary.clear();
    }
}

bool replaceFile(const std::string& path, std::string_view content)
{
    AtomicFile file(path);
    return file.open() && file.write(content) && file.commit();
}

}  // namespace vantor
