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
// or a pipe takes the bytes.
bool writeConsole(DWORD which, std::string_view text)
{
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode))
        return false;
    const std::wstring wide = widened(std::string(text));
    DWORD written = 0;
    return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) != 0;
}
#endif

void write(std::FILE* stream, std::string_view text)
{
#ifdef _WIN32
    std::fflush(stream);
    if (writeConsole(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE, text))
        return;
#endif
    std::fwrite(text.data(), 1, text.size(), stream);
    // A reader of a pipe sees each line when it is written.
    std::fflush(stream);
}

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
