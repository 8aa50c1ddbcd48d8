#include "SettingsFiles.h"

#include "AtomicFile.h"
#include "FileNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace vantor {

namespace {

// The leading decimal number of the text, 0 when there is none; saturates
// rather than wraps, so that a huge number is never taken for a small one.
unsigned long long leadingNumber(const std::string& text)
{
    constexpr unsigned long long kLargest = 999'999'999'999'999'999ULL;
    unsigned long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = std::min(kLargest, value * 10 + static_cast<unsigned>(c - '0'));
    }
    return value;
}

std::string lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string folderOf(const std::string& path)
{
    const size_t at = path.find_last_of("/\\");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

namespace {

// Where the file name's extension starts, or npos: only a point inside the
// file name, and not its first character, starts one.
size_t extensionPoint(const std::string& path)
{
    const size_t point = path.rfind('.');
    return point != std::string::npos && point > folderOf(path).size() ? point : std::string::npos;
}

}  // namespace

std::string withExtension(const std::string& path, const std::string& extension)
{
    return path.substr(0, extensionPoint(path)) + "." + extension;
}

std::string withDefaultExtension(const std::string& path, const std::string& extension)
{
    return extensionPoint(path) == std::string::npos ? path + "." + extension : path;
}

std::string newFileName(const std::string& folderText, const std::string& prefix, const std::string& extension)
{
    // The name is built in the folder that is searched, separator or not.
    std::string folder = folderText;
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    const std::string wantedPrefix = lowered(prefix);
    const std::string wantedEnd = lowered("." + extension);
    bool any = false;
    unsigned long long highest = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(pathOf(folder.empty() ? std::string(".") : folder), error), end;
         !error && it != end; it.increment(error)) {
        if (!it->is_regular_file(error))
            continue;
        const std::string name = lowered(utf8Of(it->path().filename()));
        if (name.size() < wantedPrefix.size() + wantedEnd.size() || name.front() == '.' ||
            name.compare(0, wantedPrefix.size(), wantedPrefix) != 0 ||
            name.compare(name.size() - wantedEnd.size(), wantedEnd.size(), wantedEnd) != 0)
            continue;
        any = true;
        const std::string rest = name.substr(wantedPrefix.size());
        highest = std::max(highest, leadingNumber(rest.substr(0, rest.find('.'))));
    }
    if (!any)
        return folder + prefix + "." + extension;
    std::string name = folder + prefix + std::to_string(highest + 1) + "." + extension;
    // At the largest number the next one may be a taken name: then the first free one.
    for (unsigned long long n = 1; pathExists(name); ++n)
        name = folder + prefix + std::to_string(n) + "." + extension;
    return name;
}

bool pathExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(pathOf(path), error);
}

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(pathOf(a), pathOf(b), error) && !error;
}

const FileType* fileTypeOf(const std::string& path)
{
    // The order in which an extension is matched.
    static constexpr const FileType* kTypes[] = {&filetypes::kMeasurement, &filetypes::kCalibration,
                                                 &filetypes::kFactory, &filetypes::kMaker, &filetypes::kCan};
    const std::string name = path.substr(folderOf(path).size());
    const size_t point = name.rfind('.');
    const std::string extension = point == std::string::npos ? std::string() : name.substr(point + 1);
    for (const FileType* type : kTypes)
        if (extension == type->extension)
            return type;
    return nullptr;
}

const FileType* settingsFileTypeOf(const BlockInfo& block)
{
    for (const FileType* type : {&filetypes::kCalibration, &filetypes::kFactory, &filetypes::kMaker, &filetypes::kCan})
        if (type->codec->block == &block)
            return type;
    return nullptr;
}

const FileType* settingsFileTypeNamed(const std::string& blockName)
{
    for (const FileType* type : {&filetypes::kCalibration, &filetypes::kFactory, &filetypes::kMaker, &filetypes::kCan})
        if (blockName == type->codec->block->name)
            return type;
    return nullptr;
}

FileStatus writeSettingsFile(const std::string& path, std::span<const uint8_t> image)
{
    AtomicFile file(path);
    const uint8_t length[2] = {static_cast<uint8_t>(image.size() & 0xFF), static_cast<uint8_t>((image.size() >> 8) & 0xFF)};
    return file.open() && file.write(length) && file.write(image) && file.commit() ? FileStatus::Ok
                                                                                  : FileStatus::CannotWrite;
}

FileStatus writeSettingsFile(const std::string& path, const FileType& type, const ParameterRecord& record)
{
    std::vector<uint8_t> image(type.codec->block->imageSize());
    type.codec->encode(record, image);
    return writeSettingsFile(path, image);
}

FileStatus writeDefaultSettingsFile(const std::string& path, const FileType& type)
{
    std::vector<uint8_t> image(type.codec->block->imageSize());
    type.codec->encodeDefaults(image);
    return writeSettingsFile(path, image);
}

FileStatus loadSettingsFile(const std::string& path, const FileType& type, std::span<uint8_t> image,
                            ParameterRecord& record)
{
    image = image.first(type.codec->block->imageSize());
    const FileStatus status = readSettingsFile(path, image);
    if (status == FileStatus::Ok)
        type.codec->decode(image, record);
    return status;
}

FileStatus readSettingsFile(const std::string& path, std::span<uint8_t> image)
{
    std::FILE* file = openFile(path, "rb");
    if (!file)
        return FileStatus::CannotOpen;
    // One byte more than a settings file holds tells a longer file from a whole one.
    std::vector<uint8_t> bytes(image.size() + 3);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    if (got < 2)
        return FileStatus::Invalid;
    const size_t length = bytes[0] | (bytes[1] << 8);
    if (length != image.size() || got != length + 2)
        return FileStatus::Invalid;
    std::copy_n(bytes.begin() + 2, length, image.begin());
    return FileStatus::Ok;
}

std::string fileProblem(FileStatus status, const std::string& path, int language)
{
    const BilingualText& text = status == FileStatus::CannotWrite  ? lang::FileCannotWrite
                                : status == FileStatus::CannotOpen ? lang::FileCannotRead
                                                                   : lang::FileInvalid;
    return text.text(language) + path;
}

}  // namespace vantor
