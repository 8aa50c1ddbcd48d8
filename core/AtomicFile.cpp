#include "AtomicFile.h"

#include "FileNames.h"

#include <atomic>
#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <process.h>
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

}  // namespace

AtomicFile::~AtomicFile() { cancel(); }

bool AtomicFile::open()
{
    cancel();
    m_failed = false;
    for (int tries = 0; tries < 100 && !m_file; ++tries) {
        m_temporary = temporaryNameFor(m_path);
        m_file = createNewFile(m_temporary);
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
        removeFile(m_temporary);
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
        removeFile(m_temporary);
        m_temporary.clear();
    }
}

bool replaceFile(const std::string& path, std::string_view content)
{
    AtomicFile file(path);
    return file.open() && file.write(content) && file.commit();
}

}  // namespace vantor
