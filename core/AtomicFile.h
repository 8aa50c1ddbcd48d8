// Replacing a file only once its new content is complete: the bytes go to a
// temporary file beside it, which takes the file's name on commit. A write
// that fails or is abandoned leaves the old file as it was.
#pragma once

#include <cstdio>
#include <span>
#include <string>
#include <string_view>

namespace vantor {

class AtomicFile {
public:
    explicit AtomicFile(std::string path) : m_path(std::move(path)) {}
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file; false when it cannot be created.
    bool open();
    // False once any write has failed; later writes are then ignored.
    bool write(std::span<const uint8_t> bytes);
    bool write(std::string_view text);
    // Flushes the content to the disk and gives it the file's name; false (and
    // the old file untouched) when any step failed.
    bool commit();
    // Removes the temporary file; the old file stays as it was.
    void cancel();

private:
    std::string m_path;
    std::string m_temporary;
    std::FILE* m_file = nullptr;
    bool m_failed = false;
};

// Writes the whole content at once through an AtomicFile.
bool replaceFile(const std::string& path, std::string_view content);

}  // namespace vantor
