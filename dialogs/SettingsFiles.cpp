#include "SettingsFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

namespace vantor {

namespace {

constexpr BilingualText kCannotWrite{"Impossible d'écrire le fichier\n", "Cannot write the file\n"};
constexpr BilingualText kCannotOpen{"Impossible de lire le fichier\n", "Cannot read the file\n"};
constexpr BilingualText kReplace{"Ce fichier existe déjà. Le remplacer ?\n", "This file already exists. Replace it?\n"};
constexpr BilingualText kInvalid{"Ce fichier n'a pas le format attendu :\n", "This file does not have the expected format:\n"};

std::string typeEntry(const FileType& type, int language)
{
    const std::string ext = type.extension;
    return std::string(type.name.text(language)) + " (*." + ext + ")|*." + ext + "|";
}

// atoi: the leading decimal number of the text, 0 when there is none; kept
// within what an int holds.
int leadingNumber(const std::string& text)
{
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX - 1));
}

bool askFile(const DialogContext& context, QWidget* owner, const FileType& type, bool save)
{
    FileRequest request;
    request.owner = owner;
    request.filter = typeEntry(type, context.language());
    request.initialFolder = context.state.settings.currentFolder;
    request.mustExist = !save;
    const std::optional<std::string> chosen =
        save ? context.prompts.saveFileName(request) : context.prompts.openFileName(request);
    if (!chosen)
        return false;
    const std::string path = withExtension(*chosen, type.extension);
    // The dialog asked about the name typed, not the one with the type's extension.
    if (save && path != *chosen && QFileInfo::exists(QString::fromStdString(path))) {
        const int language = context.language();
        if (context.prompts.messageBox(owner, type.name.text(language), kReplace.text(language) + path,
                                       BoxIcon::Question, BoxButtons::YesNo) != BoxAnswer::Yes)
            return false;
    }
    context.state.file.currentFilePath = path;
    context.state.settings.currentFolder = folderOf(context.state.file.currentFilePath);
    return true;
}

}  // namespace

std::string folderOf(const std::string& path)
{
    const size_t at = path.find_last_of("/\\");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string withExtension(const std::string& path, const std::string& extension)
{
    const size_t nameStart = folderOf(path).size();
    const size_t point = path.rfind('.');
    // Only a point inside the file name, and not its first character, starts an extension.
    const bool hasExtension = point != std::string::npos && point > nameStart;
    return (hasExtension ? path.substr(0, point) : path) + "." + extension;
}

std::string newFileName(const std::string& folderText, const std::string& prefix, const std::string& extension)
{
    // The name is built in the folder that is searched, separator or not.
    std::string folder = folderText;
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    const QDir dir(folder.empty() ? QStringLiteral(".") : QString::fromStdString(folder));
    const QStringList found =
        dir.entryList({QString::fromStdString(prefix + "*." + extension)}, QDir::Files, QDir::Name);
    if (found.isEmpty())
        return folder + prefix + "." + extension;
    int highest = 0;
    for (const QString& name : found) {
        // The search ignores case: so does finding the prefix in the name.
        const qsizetype at = name.indexOf(QString::fromStdString(prefix), 0, Qt::CaseInsensitive);
        if (at < 0)
            continue;
        const QString rest = name.mid(at + static_cast<qsizetype>(prefix.size())).section('.', 0, 0);
        highest = std::max(highest, leadingNumber(rest.toStdString()));
    }
    return folder + prefix + std::to_string(highest + 1) + "." + extension;
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

std::string openFilter(const AccessFlags& access, int language)
{
    std::string filter = "(*.*)|*.mes;*.eta";
    if (access.can)
        filter += ";*.can";
    if (access.factory)
        filter += ";*.rus";
    if (access.maker)
        filter += ";*.hdm";
    filter += "|";
    filter += typeEntry(filetypes::kMeasurement, language);
    filter += typeEntry(filetypes::kCalibration, language);
    if (access.can)
        filter += typeEntry(filetypes::kCan, language);
    if (access.factory)
        filter += typeEntry(filetypes::kFactory, language);
    if (access.maker)
        filter += typeEntry(filetypes::kMaker, language);
    return filter;
}

bool askSaveFile(const DialogContext& context, QWidget* owner, const FileType& type)
{
    return askFile(context, owner, type, true);
}

bool askCompareFile(const DialogContext& context, QWidget* owner, const FileType& type)
{
    return askFile(context, owner, type, false);
}

FileStatus writeSettingsFile(const std::string& path, std::span<const uint8_t> image)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return FileStatus::CannotWrite;
    const char length[2] = {static_cast<char>(image.size() & 0xFF), static_cast<char>((image.size() >> 8) & 0xFF)};
    file.write(length, 2);
    file.write(reinterpret_cast<const char*>(image.data()), static_cast<qint64>(image.size()));
    return file.commit() ? FileStatus::Ok : FileStatus::CannotWrite;
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
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return FileStatus::CannotOpen;
    // One byte more than a settings file holds tells a longer file from a whole one.
    const QByteArray bytes = file.read(static_cast<qint64>(image.size()) + 3);
    if (bytes.size() < 2)
        return FileStatus::Invalid;
    const size_t length = static_cast<uint8_t>(bytes[0]) | (static_cast<uint8_t>(bytes[1]) << 8);
    if (length != image.size() || static_cast<size_t>(bytes.size()) != length + 2)
        return FileStatus::Invalid;
    std::copy(bytes.begin() + 2, bytes.begin() + 2 + static_cast<qsizetype>(length), image.begin());
    return FileStatus::Ok;
}

void reportFileError(const DialogContext& context, QWidget* owner, FileStatus status, const std::string& path,
                     const FileType& type)
{
    const int language = context.language();
    const BilingualText& text =
        status == FileStatus::CannotWrite ? kCannotWrite : status == FileStatus::CannotOpen ? kCannotOpen : kInvalid;
    context.prompts.messageBox(owner, type.name.text(language), text.text(language) + path, BoxIcon::Error,
                               BoxButtons::Ok);
}

}  // namespace vantor
