// The program-wide variables: settings, access flags, the file in use and the
// parameter record. One instance lives in the program object;
// tests build their own.
#pragma once

#include "LinkState.h"
#include "ParameterRecord.h"
#include "ProbeCatalogue.h"

#include <cstdint>
#include <string>

namespace vantor {

inline constexpr int32_t kFrench = 0;
inline constexpr int32_t kEnglish = 1;

struct Settings {
    std::string currentFolder;    // settings files; ends with a separator once set
    std::string spreadsheetPath;  // program that opens reports and converted files
    std::string prnFolder;        // converted measurement files
    LinkSettings link;
    int32_t language = kFrench;
};

// Unlocked by command-line switches; fixed for the whole run.
struct AccessFlags {
    bool factory = false;
    bool maker = false;
    bool init = false;
    bool can = false;
};

struct FileState {
    bool fileMode = false;  // the next parameter dialog takes its block from currentFilePath
    std::string currentFilePath;
};

// The calibration dialog's upload options; they last until the next upload.
struct UploadOptions {
    uint8_t syncClock = 0;
    uint8_t resetTotalizer1 = 0;
    uint8_t resetTotalizer2 = 0;
};

// The blocks the initialisation writes with their default values (the CAN
// block goes with the calibration block).
struct InitialisationChoice {
    uint8_t calibration = 1;
    uint8_t factory = 1;
    uint8_t maker = 1;
};

struct ProgramState {
    Settings settings;
    ProbeCatalogue catalogue;
    AccessFlags access;
    FileState file;
    ParameterRecord record;
    UploadOptions upload;
    InitialisationChoice initialisation;
    int decimalsCount = 0;  // decimals last chosen for an automatically rounded number
};

}  // namespace vantor
