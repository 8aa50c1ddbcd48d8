#include "FileNames.h"

#include <cerrno>
#include <fcntl.h>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vantor {

#ifdef _WIN32

std::wstring widened(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::string narrowed(const std::wstring& utf16)
{
    if (utf16.empty())
        return {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), text.data(), length, nullptr,
                            nullptr);
    return text;
}

std::filesystem::path pathOf(const std::string& utf8) { return std::filesystem::path(widened(utf8)); }

std::string utf8Of(const std::filesystem::path& path) { return narrowed(path.wstring()); }

std::FILE* openFile(const std::string& utf8, const char* mode)
{
    return _wfopen(widened(utf8).c_str(), widened(mode).c_str());
}

std::FILE* createNewFile(const std::string& utf8)
{
    const int fd = _wopen(widened(utf8).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    return fd < 0 ? nullptr : _fdopen(fd, "wb");
}

int openForAppending(const std::string& utf8, bool truncate)
{
    return _wopen(widened(utf8).c_str(), _O_WRONLY | _O_CREAT | _O_BINARY | (truncate ? _O_TRUNC : _O_APPEND),
                  _S_IREAD | _S_IWRITE);
}

bool removeFile(const std::string& utf8) { return _wremove(widened(utf8).c_str()) == 0; }

bool renameOver(const std::string& from, const std::string& to)
{
    return MoveFileExW(widened(from).c_str(), widened(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           0;
}

#else

// The names are the bytes the system takes.
std::filesystem::path pathOf(const std::string& utf8) { return std::filesystem::path(utf8); }

std::string utf8Of(const std::filesystem::path& path) { return path.string(); }

std::FILE* openFile(const std::string& utf8, const char* mode) { return std::fopen(utf8.c_str(), mode); }

std::FILE* createNewFile(const std::string& utf8)
{
    const int fd = ::open(utf8.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    std::FILE* file = fdopen(fd, "wb");
    if (!file)
        ::close(fd);
    return file;
}

int openForAppending(const std::string& utf8, bool truncate)
{
    return ::open(utf8.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : O_APPEND), 0644);
}

bool removeFile(const std::string& utf8) { return std::remove(utf8.c_str()) == 0; }

bool renameOver(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

#endif

}  // namespace vantor
