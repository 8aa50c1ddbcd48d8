// vantorctl's commands on parameter blocks: they read, save, upload, compare
// and initialise through the same tables, files and sequences as the window.
#include "BlockForms.h"
#include "BlockTransfer.h"
#include "CtlTool.h"
#include "DeviationReport.h"
#include "JsonLine.h"
#include "SettingsFiles.h"
#include "UnitCommands.h"
#include "UserLocale.h"
#include "Windows1252.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif
#include <string>
#include <vector>

namespace vantor::ctl {

namespace {

// Removes the flag from the arguments; true when it was there.
bool takeFlag(Args& args, const std::string& flag)
{
    const auto at = std::find(args.begin(), args.end(), flag);
    if (at == args.end())
        return false;
    args.erase(at);
    return true;
}

// Takes "--language fr|en" into the settings; false on a bad value.
bool takeLanguage(Args& args, Tool& tool)
{
    const auto at = std::find(args.begin(), args.end(), "--language");
    if (at == args.end())
        return true;
    if (at + 1 == args.end() || (at[1] != "fr" && at[1] != "en"))
        return false;
    tool.state.settings.language = at[1] == "en" ? kEnglish : kFrench;
    args.erase(at, at + 2);
    return true;
}

// As a dialog shows the values, and so as it writes them back.
void clampAsShown(const FileType& type, ProgramState& state)
{
    const BlockForm& form = formOf(type);
    clampNumbers(form.numbers, state);
    clampChoices(form.choices, state);
}

// Reads the type's block from the instrument into the parameter record, its
// values as a dialog opening on the instrument shows them. 0 or -1.
int readIntoRecord(Tool& tool, const FileType& type)
{
    if (readBlock(tool.link, *type.codec, tool.state.record) != 0)
        return -1;
    clampAsShown(type, tool.state);
    return 0;
}

int fileFailure(FileStatus status, const std::string& path, const FileType& type)
{
    switch (status) {
    case FileStatus::CannotOpen: return fail("cannot read " + path);
    case FileStatus::CannotWrite: return fail("cannot write " + path);
    default:
        return fail(path + ": not a " + type.codec->block->name + " settings file (its length word must be " +
                    std::to_string(type.codec->block->imageSize()) + ", followed by as many bytes)");
    }
}

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

template <typename Group>
std::string formatValue(Tool& tool, const Group& group, const Descriptor<Group>& row,
                        std::span<const ChoiceBinding> choices)
{
    if (auto text = std::get_if<Text Group::*>(&row.value))
        return (group.**text).data();
    char out[48];
    const double value = loadValue(group, row.value);
    if (auto index = std::get_if<int32_t Group::*>(&row.value)) {
        // A choice the window shows by its text.
        for (const ChoiceBinding& b : choices) {
            if (&b.value(tool.state) != &(group.**index))
                continue;
            const char* choice = choiceText(*b.list, b.count, b.bilingual == 1, group.**index,
                                            tool.state.settings.language);
            std::snprintf(out, sizeof out, "%s (%d)", choice ? choice : "*****", group.**index);
            return out;
        }
    }
    if (row.type == kFloat32) {
        std::snprintf(out, sizeof out, "%g", value);
    } else if (std::holds_alternative<float Group::*>(row.value)) {
        const int decimals = static_cast<int>(std::lround(std::log10(rowScale(row.type, row.parameter))));
        std::snprintf(out, sizeof out, "%.*f", decimals, value);
    } else {
        std::snprintf(out, sizeof out, "%.0f", value);
    }
    return out;
}

// A row as JSON: its name, its value as a number (a choice by its index,
// with its text beside it) or a text, and its unit.
template <typename Group>
std::string rowJson(Tool& tool, const Group& group, const Descriptor<Group>& row, std::span<const ChoiceBinding> choices)
{
    JsonLine line;
    line.text("name", row.name);
    if (auto text = std::get_if<Text Group::*>(&row.value)) {
        line.text("value", fromWindows1252((group.**text).data()));
    } else {
        line.number("value", loadValue(group, row.value));
        if (auto index = std::get_if<int32_t Group::*>(&row.value))
            for (const ChoiceBinding& b : choices)
                if (&b.value(tool.state) == &(group.**index)) {
                    const char* choice = choiceText(*b.list, b.count, b.bilingual == 1, group.**index,
                                                    tool.state.settings.language);
                    line.text("text", choice ? choice : "");
                }
    }
    return line.text("unit", row.unit).str();
}

template <typename Group>
int printBlock(Tool& tool, DescriptorTable<Group> table, const BlockInfo& block, Group& group, bool raw,
               const FileType* type, bool json)
{
    std::vector<uint8_t> image(block.imageSize());
    if (readBlockImage(tool.link, block, image) != 0)
        return tool.failure();
    decodeImage(table, image, group);
    std::string hex;
    for (size_t i = 0; i < image.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%s%02X", i ? " " : "", image[i]);
        hex += byte;
    }
    if (raw && !json) {
        std::printf("%s\n", hex.c_str());
        return 0;
    }
    ChoiceList probes{};
    setProbeNames(probes, tool.state.catalogue);
    const std::vector<ChoiceBinding> choices =
        type ? withProbeList(formOf(*type).choices, &probes) : std::vector<ChoiceBinding>{};
    if (json) {
        std::string values;
        for (const auto& row : table)
            values += (values.empty() ? "[" : ",") + rowJson(tool, group, row, choices);
        JsonLine()
            .text("block", block.name)
            .integer("first_register", block.firstRegister)
            .integer("register_count", block.registerCount)
            .text("image", hex)
            .raw("values", values + "]")
            .print();
        return 0;
    }
    for (const auto& row : table) {
        const std::string value = formatValue(tool, group, row, choices);
        std::printf("%-20s %s%s%s\n", row.name, value.c_str(), *row.unit ? " " : "", row.unit);
    }
    return 0;
}

}  // namespace

int readBlockCommand(Tool& tool, Args args)
{
    const bool raw = takeFlag(args, "--raw");
    const bool json = takeFlag(args, "--json");
    if (!takeLanguage(args, tool))
        return fail("--language takes fr or en");
    ParameterRecord& record = tool.state.record;
    const std::string name = args.size() == 1 ? args[0] : "";
    if (name == kCalibrationBlock.name)
        return printBlock(tool, kCalibrationTable, kCalibrationBlock, record.calibration, raw, &filetypes::kCalibration, json);
    if (name == kFactoryBlock.name)
        return printBlock(tool, kFactoryTable, kFactoryBlock, record.factory, raw, &filetypes::kFactory, json);
    if (name == kMakerBlock.name)
        return printBlock(tool, kMakerTable, kMakerBlock, record.maker, raw, &filetypes::kMaker, json);
    if (name == kCanBlock.name)
        return printBlock(tool, kCanTable, kCanBlock, record.can, raw, &filetypes::kCan, json);
    if (name == kMeasurementBlock.name)
        return printBlock(tool, kMeasurementTable, kMeasurementBlock, record.measurement, raw, nullptr, json);
    return fail("read-block takes one of calibration, factory, maker, can, measurement");
}

int saveBlockCommand(Tool& tool, const Args& args)
{
    const FileType* type = args.size() == 2 ? settingsFileTypeNamed(args[0]) : nullptr;
    if (!type)
        return fail("save-block takes a block (calibration, factory, maker, can) and a file");
    const std::string& path = args[1];
    if (fileTypeOf(path) != type)
        return fail(path + ": a " + args[0] + " block is saved to a ." + type->extension + " file");
    if (readIntoRecord(tool, *type) != 0)
        return tool.failure();
    const FileStatus status = writeSettingsFile(path, *type, tool.state.record);
    return status == FileStatus::Ok ? 0 : fileFailure(status, path, *type);
}

int uploadCommand(Tool& tool, Args args)
{
    const bool verify = !takeFlag(args, "--no-verify");
    const bool addressChange = takeFlag(args, "--address-change");
    const FileType* type = args.size() == 1 ? fileTypeOf(args[0]) : nullptr;
    if (!type || !type->codec)
        return fail("upload takes one settings file (.eta, .rus, .hdm, .can)");
    const std::string& path = args[0];
    const BlockInfo& block = *type->codec->block;
    std::vector<uint8_t> image(block.imageSize());
    if (const FileStatus status = readSettingsFile(path, image); status != FileStatus::Ok)
        return fileFailure(status, path, *type);

    // What the window would send for this file: its values as the dialog shows them.
    type->codec->decode(image, tool.state.record);
    clampAsShown(*type, tool.state);
    std::vector<uint8_t> sent(image.size());
    type->codec->encode(tool.state.record, sent);
    if (sent != image)
        return fail(path + " holds what the program would not send as it stands: " +
                    joined(type->codec->differingRows(image, sent)));

    // One file looped over a fleet must not give every unit one address.
    const uint8_t answersAt = jbusAddressByte(tool.state.settings.link.jbusAddress);
    const std::optional<uint8_t> givesAddress = unitAddressIn(block, image);
    const bool changesAddress = givesAddress && *givesAddress != answersAt;
    if (changesAddress && !addressChange)
        return fail(path + " gives the unit the Jbus address " + std::to_string(*givesAddress) +
                    " (it answers at " + std::to_string(answersAt) + "): add --address-change to change it");

    if (writeBlockImage(tool.link, block, sent) != 0)
        return tool.failure();
    if (!verify)
        return 0;
    const std::optional<std::vector<std::string>> differing =
        readBack(tool.link, tool.state.settings.link, *type->codec, image);
    if (!differing)
        return tool.failure();
    if (!differing->empty())
        return fail("the instrument does not hold what " + path + " holds: " + joined(*differing));
    if (changesAddress)
        std::printf("the unit now answers at Jbus address %d\n", *givesAddress);
    return 0;
}

int compareCommand(Tool& tool, const Args& given)
{
    // As diff does: 0 when equal, 1 when they differ, 2 when no comparison was made.
    constexpr int kCouldNotCompare = 2;
    Args args = given;
    const bool json = takeFlag(args, "--json");
    if (!takeLanguage(args, tool))
        return fail("--language takes fr or en"), kCouldNotCompare;
    const FileType* type = args.size() == 1 ? fileTypeOf(args[0]) : nullptr;
    if (type != &filetypes::kCalibration && type != &filetypes::kFactory)
        return fail("compare takes one calibration (.eta) or factory (.rus) file"), kCouldNotCompare;
    const std::string& path = args[0];
    const BlockForm& form = formOf(*type);

    ParameterRecord file;
    std::vector<uint8_t> image(type->codec->block->imageSize());
    const FileStatus status = loadSettingsFile(path, *type, image, file);
    if (status != FileStatus::Ok)
        return fileFailure(status, path, *type), kCouldNotCompare;
    // What the unit holds, as it holds it: an audit must not see a value
    // brought into its limits the way a dialog shows it.
    ParameterRecord unit;
    if (readBlock(tool.link, *type->codec, unit) != 0)
        return tool.failure(), kCouldNotCompare;

    const DeviationReport report = makeDeviationReport(form, tool.state.catalogue, unit, file, path, localNow(),
                                                       userLocaleItems(), tool.state.settings.language);
    const std::vector<std::string> outside = valuesOutsideLimits(form, unit, kEnglish);
    if (json) {
        std::string rows, limits;
        for (const Deviation& d : report.rows) {
            JsonLine row;
            row.text("name", d.name).number("unit", d.unitValue).number("file", d.fileValue);
            if (!d.unitText.empty() || !d.fileText.empty())
                row.text("unit_text", d.unitText).text("file_text", d.fileText);
            rows += (rows.empty() ? "" : ",") + row.str();
        }
        for (const std::string& value : outside)
            limits += (limits.empty() ? "" : ",") + jsonString(value);
        JsonLine()
            .text("time", isoNow())
            .text("file", path)
            .text("block", type->codec->block->name)
            .integer("deviation_count", report.deviations)
            .raw("deviations", "[" + rows + "]")
            .raw("outside_limits", "[" + limits + "]")
            .print();
    } else {
        std::fputs(report.text.c_str(), stdout);
    }
    for (const std::string& value : outside)
        std::fprintf(stderr, "vantorctl: the unit holds a value outside its limits: %s\n", value.c_str());
    return report.deviations == 0 ? 0 : 1;
}

namespace {

bool inputIsTerminal()
{
#ifdef _WIN32
    return _isatty(_fileno(stdin)) != 0;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

// Says what the initialisation erases and reads the answer; only y or yes goes on.
bool confirmedOnTerminal(const InitialisationChoice& blocks)
{
    std::fprintf(stderr, "%s\nContinue? [y/N] ", initialisationErases(blocks, kEnglish).c_str());
    std::fflush(stderr);
    char line[32] = {};
    if (!std::fgets(line, sizeof line, stdin))
        return false;
    std::string answer(line);
    while (!answer.empty() && std::isspace(static_cast<unsigned char>(answer.back())))
        answer.pop_back();
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return answer == "y" || answer == "yes";
}

}  // namespace

int initialiseCommand(Tool& tool, const Args& given)
{
    Args args = given;
    InitialisationChoice blocks{0, 0, 0};
    blocks.calibration = takeFlag(args, "--calibration") ? 1 : 0;
    blocks.factory = takeFlag(args, "--factory") ? 1 : 0;
    blocks.maker = takeFlag(args, "--maker") ? 1 : 0;
    const bool confirmed = takeFlag(args, "--yes");
    if (!args.empty())
        return fail("init takes --calibration, --factory, --maker and --yes");
    // It erases both totalizers, the customer's measured volumes: a script says so with --yes.
    if (!confirmed) {
        if (!inputIsTerminal())
            return fail("init erases both totalizers and the blocks named: give --yes to run it without a terminal");
        if (!confirmedOnTerminal(blocks))
            return fail("init not confirmed: nothing written");
    }
    const BroadcastAddress address(tool.state.settings.link);
    const InitialisationResult result = initialiseUnit(tool.link, blocks, localNow());
    // The default calibration block moves the unit to the default address, even when a later write failed.
    if (result.calibrationWritten)
        std::printf("the unit now answers at Jbus address %d\n", int{defaultUnitAddress()});
    if (result.status != 0)
        return tool.failure();
    return 0;
}

}  // namespace vantor::ctl
