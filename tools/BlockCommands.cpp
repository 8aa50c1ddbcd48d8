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
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif
#include <string>
#include <utility>
#include <vector>

namespace vantor::ctl {

namespace {

// As a dialog shows the values, and so as it writes them back.
void clampAsShown(const FileType& type, ProgramState& state)
{
    const BlockForm& form = formOf(type);
    storeClampedNumbers(form.numbers, state);
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

// Why a settings file was not read or written, the system's reason with it.
int fileFailure(const Tool& tool, FileStatus status, const std::string& path, const FileType& type, int exit = 1)
{
    const std::string why = std::strerror(errno);
    switch (status) {
    case FileStatus::CannotOpen:
        return tool.fail(formatted(tool.text(lang::CtlCannotRead), path.c_str(), why.c_str()), "file_unreadable", exit);
    case FileStatus::CannotWrite:
        return tool.fail(formatted(tool.text(lang::CtlCannotWrite), path.c_str(), why.c_str()), "file_unwritable", exit);
    default:
        return tool.fail(formatted(tool.text(lang::CtlNotSettingsFile), path.c_str(), type.codec->block->name,
                                   static_cast<int>(type.codec->block->imageSize())),
                         "file_invalid", exit);
    }
}

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// The rows' names as the user reads them, in the run's language.
std::vector<std::string> labelled(const Tool& tool, const BlockCodec& codec, const std::vector<std::string>& names)
{
    std::vector<std::string> out;
    for (const std::string& name : names) {
        const BilingualText* label = codec.rowLabel(name);
        out.push_back(label && *label->english ? tool.text(*label) : name);
    }
    return out;
}

// A choice's text, or null when the value is no choice.
template <typename Group>
const char* choiceOf(const Tool& tool, const Group& group, const Descriptor<Group>& row,
                     std::span<const ChoiceParameter> choices, const ChoiceList& probes, int index)
{
    if constexpr (std::is_same_v<Group, MeasurementValues>) {
        // The measurement's lists as the measurement dialog shows them.
        if (row.shown.kind == Shown::probe)
            return choiceText(probes, kProbeCount, false, index, tool.language());
        if (row.shown.kind == Shown::choice)
            return choiceText(*row.shown.list, index, tool.language());
        return nullptr;
    } else {
        (void)probes;
        if (auto member = std::get_if<int32_t Group::*>(&row.value))
            for (const ChoiceParameter& b : choices)
                if (&b.value(const_cast<ProgramState&>(tool.state)) == &(group.**member))
                    return choiceText(*b.list, b.count, b.bilingual == 1, index, tool.language());
        return nullptr;
    }
}

template <typename Group>
bool isChoice(const Tool& tool, const Group& group, const Descriptor<Group>& row, std::span<const ChoiceParameter> choices,
              const ChoiceList& probes)
{
    if constexpr (std::is_same_v<Group, MeasurementValues>) {
        return row.shown.kind == Shown::probe || row.shown.kind == Shown::choice;
    } else {
        (void)probes;
        if (auto member = std::get_if<int32_t Group::*>(&row.value))
            for (const ChoiceParameter& b : choices)
                if (&b.value(const_cast<ProgramState&>(tool.state)) == &(group.**member))
                    return true;
        return false;
    }
}

template <typename Group, typename Value>
const Descriptor<Group>& tableRow(DescriptorTable<Group> table, Value Group::*member)
{
    return *std::find_if(table.begin(), table.end(),
                         [&](const Descriptor<Group>& row) { return row.value == ValueRef<Group>(member); });
}

template <typename Group>
std::string formatValue(const Tool& tool, const Group& group, const Descriptor<Group>& row,
                        std::span<const ChoiceParameter> choices, const ChoiceList& probes)
{
    if (auto text = std::get_if<Text Group::*>(&row.value))
        return fromWindows1252((group.**text).data());
    const double value = loadValue(group, row.value);
    if (isChoice(tool, group, row, choices, probes)) {
        const int index = static_cast<int>(value);
        const char* choice = choiceOf(tool, group, row, choices, probes, index);
        return formatted("%s (%d)", choice ? choice : "*****", index);
    }
    if (row.type == kFloat32)
        return formatted("%g", value);
    if (std::holds_alternative<float Group::*>(row.value)) {
        const int decimals = static_cast<int>(std::lround(std::log10(rowScale(row.type, row.parameter))));
        return formatted("%.*f", decimals, value);
    }
    return formatted("%.0f", value);
}

// A row as JSON: its stable name, its label in the run's language, its value
// as a number (a choice by its index, with its text beside it) or a text, and
// its unit.
template <typename Group>
Json rowJson(const Tool& tool, const Group& group, const Descriptor<Group>& row, std::span<const ChoiceParameter> choices,
             const ChoiceList& probes)
{
    JsonLine line;
    line.text("name", row.name).text("label", *row.label.english ? tool.text(row.label) : row.name);
    if (auto text = std::get_if<Text Group::*>(&row.value)) {
        line.text("value", fromWindows1252((group.**text).data()));
    } else {
        const double value = loadValue(group, row.value);
        line.number("value", value);
        if (isChoice(tool, group, row, choices, probes)) {
            const char* choice = choiceOf(tool, group, row, choices, probes, static_cast<int>(value));
            line.text("text", choice ? choice : "");
        }
    }
    return line.text("unit", row.unit).object();
}

template <typename Group>
int printBlock(Tool& tool, DescriptorTable<Group> table, const BlockInfo& block, Group& group, bool raw,
               const FileType* type)
{
    std::vector<uint8_t> image(block.imageSize());
    if (readBlockImage(tool.link, block, image) != 0)
        return tool.failure();
    decodeImage(table, image, group);
    std::string hex;
    for (size_t i = 0; i < image.size(); ++i)
        hex += formatted("%s%02X", i ? " " : "", image[i]);
    if (raw && !tool.json) {
        say(hex);
        return 0;
    }
    ChoiceList probes{};
    setProbeNames(probes, tool.state.catalogue);
    const std::vector<ChoiceParameter> choices =
        type ? withProbeList(formOf(*type).choices, &probes) : std::vector<ChoiceParameter>{};
    if (tool.json) {
        Json values = Json::array();
        for (const auto& row : table)
            values.push_back(rowJson(tool, group, row, choices, probes));
        JsonLine()
            .boolean("ok", true)
            .text("block", block.name)
            .integer("first_register", block.firstRegister)
            .integer("register_count", block.registerCount)
            .text("image", hex)
            .set("values", std::move(values))
            .print();
        return 0;
    }
    for (const auto& row : table) {
        const std::string label = *row.label.english ? tool.text(row.label) : row.name;
        const std::string value = formatValue(tool, group, row, choices, probes);
        std::string unit = row.unit;
        // The flow is in the unit the record names.
        if constexpr (std::is_same_v<Group, MeasurementValues>) {
            if (unit == "flow unit") {
                const char* flowUnit = choiceOf(tool, group, tableRow(table, &MeasurementValues::flowUnit), choices,
                                                probes, group.flowUnit);
                unit = flowUnit ? flowUnit : "";
            }
        }
        say(padded(label, 24) + " " + value + (unit.empty() ? "" : " ") + unit);
    }
    return 0;
}

bool inputIsTerminal()
{
#ifdef _WIN32
    return _isatty(_fileno(stdin)) != 0;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

// Says what the initialisation erases and reads the answer; only y, yes, o or oui goes on.
bool confirmedOnTerminal(const Tool& tool, const InitialisationChoice& blocks)
{
    writeErr(initialisationErases(blocks, tool.language()) + "\n" + tool.text(lang::CtlInitAsk));
    char line[32] = {};
    if (!std::fgets(line, sizeof line, stdin))
        return false;
    std::string answer(line);
    while (!answer.empty() && std::isspace(static_cast<unsigned char>(answer.back())))
        answer.pop_back();
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return answer == "y" || answer == "yes" || answer == "o" || answer == "oui";
}

}  // namespace

std::string padded(const std::string& text, size_t width)
{
    const auto characters = static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    return characters >= width ? text : text + std::string(width - characters, ' ');
}

int readBlockCommand(Tool& tool, const std::string& name, bool raw)
{
    ParameterRecord& record = tool.state.record;
    if (name == kCalibrationBlock.name)
        return printBlock(tool, kCalibrationTable, kCalibrationBlock, record.calibration, raw, &filetypes::kCalibration);
    if (name == kFactoryBlock.name)
        return printBlock(tool, kFactoryTable, kFactoryBlock, record.factory, raw, &filetypes::kFactory);
    if (name == kMakerBlock.name)
        return printBlock(tool, kMakerTable, kMakerBlock, record.maker, raw, &filetypes::kMaker);
    if (name == kCanBlock.name)
        return printBlock(tool, kCanTable, kCanBlock, record.can, raw, &filetypes::kCan);
    if (name == kMeasurementBlock.name)
        return printBlock(tool, kMeasurementTable, kMeasurementBlock, record.measurement, raw, nullptr);
    return tool.fail("read-block takes one of calibration, factory, maker, can, measurement", "usage");
}

int saveBlockCommand(Tool& tool, const std::string& name, const std::string& path)
{
    const FileType* type = settingsFileTypeNamed(name);
    if (!type)
        return tool.fail("save-block takes a block (calibration, factory, maker, can) and a file", "usage");
    if (fileTypeOf(path) != type)
        return tool.fail(formatted(tool.text(lang::CtlWrongExtension), path.c_str(), name.c_str(), type->extension),
                         "usage");
    if (readIntoRecord(tool, *type) != 0)
        return tool.failure();
    const FileStatus status = writeSettingsFile(path, *type, tool.state.record);
    if (status != FileStatus::Ok)
        return fileFailure(tool, status, path, *type);
    if (tool.json)
        JsonLine().boolean("ok", true).text("block", name).text("file", path).print();
    else
        say(formatted(tool.text(lang::CtlSaved), name.c_str(), path.c_str()));
    return 0;
}

int uploadCommand(Tool& tool, const std::string& path, bool verify, bool addressChange)
{
    const FileType* type = fileTypeOf(path);
    if (!type || !type->codec)
        return tool.fail("upload takes one settings file (.eta, .rus, .hdm, .can)", "usage");
    const BlockInfo& block = *type->codec->block;
    std::vector<uint8_t> image(block.imageSize());
    if (const FileStatus status = readSettingsFile(path, image); status != FileStatus::Ok)
        return fileFailure(tool, status, path, *type);

    // What the window would send for this file: its values as the dialog shows them.
    type->codec->decode(image, tool.state.record);
    const std::vector<std::string> outside = valuesOutsideLimits(formOf(*type), tool.state.record, tool.language());
    clampAsShown(*type, tool.state);
    std::vector<uint8_t> sent(image.size());
    type->codec->encode(tool.state.record, sent);
    if (sent != image) {
        // Each value with its limits; bits no value reads by their byte.
        std::vector<std::string> named = outside;
        for (const std::string& row : type->codec->differingRows(image, sent))
            if (!type->codec->rowLabel(row))
                named.push_back(row);
        if (named.empty())
            named = labelled(tool, *type->codec, type->codec->differingRows(image, sent));
        return tool.fail(formatted(tool.text(lang::CtlOutsideLimits), path.c_str(), joined(named).c_str()),
                         "file_outside_limits");
    }

    // One file looped over a fleet must not give every unit one address.
    const uint8_t answersAt = jbusAddressByte(tool.state.settings.link.jbusAddress);
    const std::optional<uint8_t> givesAddress = unitAddressIn(block, image);
    const bool changesAddress = givesAddress && *givesAddress != answersAt;
    if (changesAddress && !addressChange)
        return tool.fail(formatted(tool.text(lang::CtlAddressChange), path.c_str(), int{*givesAddress}, int{answersAt}),
                         "address_change");

    if (writeBlockImage(tool.link, block, sent) != 0)
        return tool.failure();
    if (verify) {
        const ReadBack back = readBack(tool.link, *type->codec, image);
        if (back.newAddress)
            tool.state.settings.link.jbusAddress = *back.newAddress;
        const std::optional<std::vector<std::string>>& differing = back.differing;
        if (!differing)
            return tool.failure();
        if (!differing->empty())
            return tool.fail(formatted(tool.text(lang::CtlNotHeld), path.c_str(),
                                       joined(labelled(tool, *type->codec, *differing)).c_str()),
                             "not_held");
    }
    if (tool.json) {
        JsonLine line;
        line.boolean("ok", true).text("file", path).boolean("read_back", verify);
        if (changesAddress)
            line.integer("address", *givesAddress);
        line.print();
        return 0;
    }
    say(formatted(tool.text(verify ? lang::CtlUploaded : lang::CtlUploadedUnchecked), path.c_str()));
    if (changesAddress)
        say(formatted(tool.text(lang::CtlNowAnswersAt), int{*givesAddress}));
    return 0;
}

int compareCommand(Tool& tool, const std::string& path)
{
    // As diff does: 0 when equal, 1 when they differ, 2 when no comparison was made.
    constexpr int kCouldNotCompare = 2;
    const FileType* type = fileTypeOf(path);
    if (type != &filetypes::kCalibration && type != &filetypes::kFactory)
        return tool.fail("compare takes one calibration (.eta) or factory (.rus) file", "usage", kCouldNotCompare);
    const BlockForm& form = formOf(*type);

    ParameterRecord file;
    std::vector<uint8_t> image(type->codec->block->imageSize());
    const FileStatus status = loadSettingsFile(path, *type, image, file);
    if (status != FileStatus::Ok)
        return fileFailure(tool, status, path, *type, kCouldNotCompare);
    // What the unit holds, as it holds it: an audit must not see a value
    // brought into its limits the way a dialog shows it.
    ParameterRecord unit;
    if (readBlock(tool.link, *type->codec, unit) != 0)
        return tool.failure(kCouldNotCompare);

    const int l = tool.language();
    DeviationReport report =
        makeDeviationReport(form, tool.state.catalogue, unit, file, path, localNow(), userLocaleItems(), l);
    // The window's report keeps its words; this one says it plainly.
    if (report.deviations == 0)
        if (const size_t at = report.text.rfind(lang::CmpNoDeviation.text(l)); at != std::string::npos)
            report.text.replace(at, std::strlen(lang::CmpNoDeviation.text(l)), tool.text(lang::CtlNoDeviation));
    const std::vector<std::string> outside = valuesOutsideLimits(form, unit, l);
    if (tool.json) {
        Json rows = Json::array();
        for (const Deviation& d : report.rows) {
            JsonLine row;
            row.text("name", d.name).number("unit", d.unitValue).number("file", d.fileValue);
            if (!d.unitText.empty() || !d.fileText.empty())
                row.text("unit_text", d.unitText).text("file_text", d.fileText);
            rows.push_back(row.object());
        }
        JsonLine()
            .boolean("ok", true)
            .text("time", isoNow())
            .text("file", path)
            .text("block", type->codec->block->name)
            .integer("deviation_count", report.deviations)
            .set("deviations", std::move(rows))
            .set("outside_limits", outside)
            .print();
    } else {
        writeOut(report.text);
    }
    for (const std::string& value : outside)
        writeErr("vantorctl: " + formatted(tool.text(lang::CtlUnitOutsideLimits), value.c_str()) + "\n");
    return report.deviations == 0 ? 0 : 1;
}

int initialiseCommand(Tool& tool, const InitialisationFlags& flags)
{
    const InitialisationChoice blocks{static_cast<uint8_t>(flags.calibration), static_cast<uint8_t>(flags.factory),
                                      static_cast<uint8_t>(flags.maker)};
    // It erases both totalizers, the customer's measured volumes: a script says so with --yes.
    if (!flags.yes) {
        if (!inputIsTerminal())
            return tool.fail(tool.text(lang::CtlInitNeedsYes), "not_confirmed");
        if (!confirmedOnTerminal(tool, blocks))
            return tool.fail(tool.text(lang::CtlInitNotConfirmed), "not_confirmed");
    }
    // To whichever unit is on the line: its address may be forgotten.
    const InitialisationResult result = initialiseUnit(tool.link, 0, blocks, localNow());
    // The default calibration block moves the unit to the default address, even when a later write failed.
    const std::string moved =
        result.calibrationWritten ? formatted(tool.text(lang::CtlNowAnswersAt), int{defaultUnitAddress()}) : "";
    if (result.status != 0) {
        if (!moved.empty())
            writeErr("vantorctl: " + moved + "\n");
        return tool.failure();
    }
    std::vector<std::string> written;
    if (flags.calibration)
        written.push_back(kCalibrationBlock.name), written.push_back(kCanBlock.name);
    if (flags.factory)
        written.push_back(kFactoryBlock.name);
    if (flags.maker)
        written.push_back(kMakerBlock.name);
    if (tool.json) {
        JsonLine line;
        line.boolean("ok", true).set("blocks", written);
        if (result.calibrationWritten)
            line.integer("address", defaultUnitAddress());
        line.print();
        return 0;
    }
    say(formatted(tool.text(lang::CtlInitialised),
                  written.empty() ? "" : formatted(tool.text(lang::CtlInitBlocks), joined(written).c_str()).c_str()));
    if (!moved.empty())
        say(moved);
    return 0;
}

}  // namespace vantor::ctl
