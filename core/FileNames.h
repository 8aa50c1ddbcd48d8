// Paths travel through the program as UTF-8. These open, rename and look at
// files by those names: on Windows through the wide (UTF-16) calls, so that a
// name outside the ANSI code page ("Объект\unit.eta") is the file it names.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace vantor {

std::filesystem::path pathOf(const std::string& utf8);
std::string utf8Of(const std::filesystem::path& path);

// fopen's modes; null on failure, errno set.
std::FILE* openFile(const std::string& utf8, const char* mode);
// A new file only (it must not exist yet), for writing in binary; null on failure, errno set.
std::FILE* createNewFile(const std::string& utf8);
// open() for a recording: appended to, or emptied first; -1 on failure.
int openForAppending(const std::string& utf8, bool truncate);
bool removeFile(const std::string& utf8);
// Replaces `to` by `from` in one step.
bool renameOver(const std::string& from, const std::string& to);

#ifdef _WIN32
std::wstring widened(const std::string& utf8);
std::string narrowed(const std::wstring& utf16);
#endif

}  // namespace vantor
