#include "VersionStrings.h"

#include "FileNames.h"

#include <windows.h>

#include <vector>

namespace vantor {

namespace {

// The program file's own version resource, read once.
const std::vector<char>& ownVersionBlock()
{
    static const std::vector<char> block = [] {
        std::vector<char> data;
        wchar_t path[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        if (length == 0 || length == MAX_PATH)
            return data;
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
        if (size == 0)
            return data;
        data.resize(size);
        if (!GetFileVersionInfoW(path, 0, size, data.data()))
            data.clear();
        return data;
    }();
    return block;
}

}  // namespace

std::string readVersionString(const std::string& entry)
{
    const std::vector<char>& block = ownVersionBlock();
    if (block.empty())
        return std::string();
    // The French Unicode block, as the programs have always kept their texts.
    const std::wstring query = L"\\StringFileInfo\\040c04b0\\" + widened(entry);
    void* value = nullptr;
    UINT characters = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &characters) || characters == 0)
        return std::string();
    std::wstring text(static_cast<const wchar_t*>(value), characters);
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return narrowed(text);
}

}  // namespace vantor
