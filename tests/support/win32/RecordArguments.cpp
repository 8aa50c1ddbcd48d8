// Stands for a spreadsheet program in the Windows tests: writes its first
// argument, as UTF-8, to the file "opened" beside itself.
#include <windows.h>
#include <shellapi.h>

#include <string>

int main()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(GetModuleFileNameW(nullptr, folder.data(), MAX_PATH));
    folder.resize(folder.find_last_of(L'\\') + 1);
    const std::wstring argument = count > 1 ? arguments[1] : L"";
    std::string text(static_cast<size_t>(argument.size() * 4 + 1), '\0');
    text.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, argument.c_str(), static_cast<int>(argument.size()),
                                                        text.data(), static_cast<int>(text.size()), nullptr, nullptr)));
    // Written whole under another name, then renamed: the test never sees half of it.
    const std::wstring part = folder + L"opened.part";
    const HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return MoveFileW(part.c_str(), (folder + L"opened").c_str()) ? 0 : 1;
}
