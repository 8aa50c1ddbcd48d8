// Settings files: a 2-byte length word (least significant byte first) followed
// by a block's register image; the file types and their names.
#pragma once

#include "BlockCodec.h"
#include "LanguageTables.h"

#include <cstdint>
#include <span>
#include <string>

namespace vantor {

struct FileType {
    const char* extension;
    BilingualText name;
    const BlockCodec* codec;  // null for measurement files
};

namespace filetypes {
inline constexpr FileType kMeasurement{"mes", lang::FileMeasurement, nullptr};
inline constexpr FileType kCalibration{"eta", lang::FileCalibration, &kCalibrationCodec};
inline constexpr FileType kCan{"can", lang::FileCanSettings, &kCanCodec};
inline constexpr FileType kFactory{"rus", lang::FileFactorySettings, &kFactoryCodec};
inline constexpr FileType kMaker{"hdm", lang::FileMakerSettings, &kMakerCodec};
}  // namespace filetypes

// The type of a path, by its file name's extension compared case-sensitively
// with mes, eta, rus, hdm and can in that order; null when none matches.
const FileType* fileTypeOf(const std::string& path);
// The settings file type of a block; null for a block no settings file holds.
const FileType* settingsFileTypeOf(const BlockInfo& block);
// The settings file type whose block has this name ("calibration", ...); null when none.
const FileType* settingsFileTypeNamed(const std::string& blockName);

enum class FileStatus { Ok, CannotOpen, CannotWrite, Invalid };

// Everything up to and including the last separator; empty when there is none.
std::string folderOf(const std::string& path);
// The path with its file name's own extension replaced (or added): unit.txt -> unit.eta.
std::string withExtension(const std::string& path, const std::string& extension);
// The path with the extension added when its file name has none.
std::string withDefaultExtension(const std::string& path, const std::string& extension);
// A name not yet taken in the folder: prefix.ext, then prefix<highest + 1>.ext,
// the names compared without regard to case.
std::string newFileName(const std::string& folder, const std::string& prefix, const std::string& extension);
// True when the path names an existing file or folder.
bool pathExists(const std::string& path);
// True when both paths name the same existing file, however each is written.
bool sameFile(const std::string& a, const std::string& b);

// The block's register image of the type's settings file: the record's values
// (or the defaults) encoded and written behind the length word.
FileStatus writeSettingsFile(const std::string& path, const FileType& type, const ParameterRecord& record);
FileStatus writeDefaultSettingsFile(const std::string& path, const FileType& type);
// Reads the type's settings file into the image and decodes it into the record;
// on failure neither is touched.
FileStatus loadSettingsFile(const std::string& path, const FileType& type, std::span<uint8_t> image,
                            ParameterRecord& record);

// Writes the image behind its length word. The old file is replaced only once
// the new one is completely written.
FileStatus writeSettingsFile(const std::string& path, std::span<const uint8_t> image);
// Reads a file whose length word equals the image size and that holds exactly
// that many bytes behind it; anything else is refused and leaves the image untouched.
FileStatus readSettingsFile(const std::string& path, std::span<uint8_t> image);

// What to tell the user about the file, in the language: the reason and the path.
std::string fileProblem(FileStatus status, const std::string& path, int language);

}  // namespace vantor
