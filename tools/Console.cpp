#include "Console.h"

#include <cstdio>

#ifdef _WIN32
#include "FileNames.h"

#include <windows.h>
#include <shellapi.h>
#endif

namespace vantor::ctl {

namespace {

#ifdef _WIN32
// A console shows what WriteConsoleW gives it, whatever its code page; a file
// or a pipe takes the bytes, with Windows line ends, in one write: the C
// library's text mode asks the system about the handle for every character.
void write(std::FILE* stream, std::string_view text)
{
    std::fflush(stream);
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr)
        return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = widened(std::string(text));
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::string bytes;
    bytes.reserve(text.size() + 8);
    for (const char c : text) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
#else
void write(std::FILE* stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
    // A reader of a pipe sees each line when it is written.
    std::fflush(stream);
}
#endif

}  // namespace

std::vector<std::string> utf8Arguments(int argc, char** argv)
{
    std::vector<std::string> arguments;
#ifdef _WIN32
    (void)argc;
    (void)argv;
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            arguments.push_back(narrowed(wide[i]));
        LocalFree(wide);
    }
#else
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
#endif
    return arguments;
}

void writeOut(std::string_view text) { write(stdout, text); }

void writeErr(std::string_view text) { write(stderr, text); }

}  // namespace vantor::ctl
