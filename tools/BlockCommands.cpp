// vantorctl's commands on parameter blocks: they read, save, upload, compare
// and initialise through the same tables, files and sequences as the window.
#include "BlockRead.h"
#include "CalibrationDialog.h"
#include "CanDialog.h"
#include "Compare.h"
#include "CtlTool.h"
#include "FactoryDialog.h"
#include "Initialisation.h"
#include "MakerDialog.h"
#include "SettingsFiles.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace vantor::ctl {

namespace {

// Removes the flag from the arguments; true when it was there.
bool TakeFlag(Args& args, const std::string& flag)
{
    const auto at = std::find(args.begin(), args.end(), flag);
    if (at == args.end())
        return false;
    args.erase(at);
    return true;
}

// Takes "--language fr|en" into the settings; false on a bad value.
bool TakeLanguage(Args& args, Tool& tool)
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

const ParameterForm& FormOf(const FileType& type)
{
    if (&type == &filetypes::kFactory)
        return FactoryDialog::Form();
    if (&type == &filetypes::kMaker)
        return MakerDialog::Form();
    if (&type == &filetypes::kCan)
        return CanDialog::Form();
    return CalibrationDialog::Form();
}

// The settings file type of a block named on the command line.
const FileType* SettingsTypeNamed(const std::string& name)
{
    for (const FileType* type : {&filetypes::kCalibration, &filetypes::kFactory, &filetypes::kMaker, &filetypes::kCan})
        if (name == type->codec->block->name)
            return type;
    return nullptr;
}

// As a dialog shows the values, and so as it writes them back.
void ClampAsShown(const FileType& type, ProgramState& state)
{
    const ParameterForm& form = FormOf(type);
    ClampNumbers(form.numbers, state);
    ClampChoices(form.choices, state);
}

// Reads the type's block from the instrument into the parameter record, as a
// dialog opening on the instrument does. 0 or -1.
int ReadIntoRecord(Tool& tool, const FileType& type)
{
    const BlockInfo& block = *type.codec->block;
    tool.master.JbusRequest(3, block.firstRegister, block.registerCount);
    if (tool.link.JbusBlockTransact(6) != 0)
        return -1;
    type.codec->decode(ReplyImage(tool.state.buffers).first(block.imageSize()), tool.state.record);
    ClampAsShown(type, tool.state);
    return 0;
}

int FileFailure(FileStatus status, const std::string& path, const FileType& type)
{
    switch (status) {
    case FileStatus::CannotOpen: return Fail("cannot read " + path);
    case FileStatus::CannotWrite: return Fail("cannot write " + path);
    default:
        return Fail(path + ": not a " + type.codec->block->name + " settings file (its length word must be " +
                    std::to_string(type.codec->block->imageSize()) + ", followed by as many bytes)");
    }
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

template <typename Group>
std::string FormatValue(Tool& tool, const Group& group, const Descriptor<Group>& row,
                        std::span<const ChoiceBinding> choices)
{
    if (auto text = std::get_if<Text Group::*>(&row.value))
        return (group.**text).data();
    char out[48];
    const double value = LoadValue(group, row.value);
    if (auto index = std::get_if<int32_t Group::*>(&row.value)) {
        // A choice the window shows by its text.
        for (const ChoiceBinding& b : choices) {
            if (&b.value(tool.state) != &(group.**index))
                continue;
            const char* choice = ChoiceText(*b.list, b.count, b.bilingual == 1, group.**index,
                                            tool.state.settings.language);
            std::snprintf(out, sizeof out, "%s (%d)", choice ? choice : "*****", group.**index);
            return out;
        }
    }
    if (row.type == kFloat32) {
        std::snprintf(out, sizeof out, "%g", value);
    } else if (std::holds_alternative<float Group::*>(row.value)) {
        const int decimals = static_cast<int>(std::lround(std::log10(RowScale(row.type, row.parameter))));
        std::snprintf(out, sizeof out, "%.*f", decimals, value);
    } else {
        std::snprintf(out, sizeof out, "%.0f", value);
    }
    return out;
}

template <typename Group>
int PrintBlock(Tool& tool, DescriptorTable<Group> table, const BlockInfo& block, Group& group, bool raw,
               const FileType* type)
{
    if (ReadParameterBlock(tool.link, table, block, group) != 0)
        return tool.failure();
    if (raw) {
        const auto image = ReplyImage(tool.state.buffers).first(block.imageSize());
        for (size_t i = 0; i < image.size(); ++i)
            std::printf("%s%02X", i ? " " : "", image[i]);
        std::printf("\n");
        return 0;
    }
    ChoiceList probes{};
    SetProbeNames(probes, tool.state.catalogue);
    const std::vector<ChoiceBinding> choices =
        type ? WithProbeList(FormOf(*type).choices, &probes) : std::vector<ChoiceBinding>{};
    for (const auto& row : table) {
        const std::string value = FormatValue(tool, group, row, choices);
        std::printf("%-20s %s%s%s\n", row.name, value.c_str(), *row.unit ? " " : "", row.unit);
    }
    return 0;
}

}  // namespace

int ReadBlock(Tool& tool, Args args)
{
    const bool raw = TakeFlag(args, "--raw");
    if (!TakeLanguage(args, tool))
        return Fail("--language takes fr or en");
    ParameterRecord& record = tool.state.record;
    const std::string name = args.size() == 1 ? args[0] : "";
    if (name == kCalibrationBlock.name)
        return PrintBlock(tool, kCalibrationTable, kCalibrationBlock, record.calibration, raw, &filetypes::kCalibration);
    if (name == kFactoryBlock.name)
        return PrintBlock(tool, kFactoryTable, kFactoryBlock, record.factory, raw, &filetypes::kFactory);
    if (name == kMakerBlock.name)
        return PrintBlock(tool, kMakerTable, kMakerBlock, record.maker, raw, &filetypes::kMaker);
    if (name == kCanBlock.name)
        return PrintBlock(tool, kCanTable, kCanBlock, record.can, raw, &filetypes::kCan);
    if (name == kMeasurementBlock.name)
        return PrintBlock(tool, kMeasurementTable, kMeasurementBlock, record.measurement, raw, nullptr);
    return Fail("read-block takes one of calibration, factory, maker, can, measurement");
}

int SaveBlock(Tool& tool, const Args& args)
{
    const FileType* type = args.size() == 2 ? SettingsTypeNamed(args[0]) : nullptr;
    if (!type)
        return Fail("save-block takes a block (calibration, factory, maker, can) and a file");
    const std::string& path = args[1];
    if (FileTypeOf(path) != type)
        return Fail(path + ": a " + args[0] + " block is saved to a ." + type->extension + " file");
    if (ReadIntoRecord(tool, *type) != 0)
        return tool.failure();
    const FileStatus status = WriteSettingsFile(path, *type, tool.state.record);
    return status == FileStatus::Ok ? 0 : FileFailure(status, path, *type);
}

int Upload(Tool& tool, Args args)
{
    const bool verify = !TakeFlag(args, "--no-verify");
    const FileType* type = args.size() == 1 ? FileTypeOf(args[0]) : nullptr;
    if (!type || !type->codec)
        return Fail("upload takes one settings file (.eta, .rus, .hdm, .can)");
    const std::string& path = args[0];
    const BlockInfo& block = *type->codec->block;
    std::vector<uint8_t> image(block.imageSize());
    if (const FileStatus status = ReadSettingsFile(path, image); status != FileStatus::Ok)
        return FileFailure(status, path, *type);

    // What the window would send for this file: its values as the dialog shows them.
    type->codec->decode(image, tool.state.record);
    ClampAsShown(*type, tool.state);
    std::vector<uint8_t> sent(image.size());
    type->codec->encode(tool.state.record, sent);
    if (sent != image)
        return Fail(path + " holds what the program would not send as it stands: " +
                    Joined(type->codec->differingRows(image, sent)));

    if (WriteBlockImage(tool.link, block, sent) != 0)
        return tool.failure();
    if (!verify)
        return 0;
    tool.master.JbusRequest(3, block.firstRegister, block.registerCount);
    if (tool.link.JbusBlockTransact(6) != 0)
        return tool.failure();
    const auto held = ReplyImage(tool.state.buffers).first(block.imageSize());
    if (!std::equal(held.begin(), held.end(), image.begin()))
        return Fail("the instrument does not hold what " + path +
                    " holds: " + Joined(type->codec->differingRows(image, held)));
    return 0;
}

int Compare(Tool& tool, const Args& given)
{
    Args args = given;
    if (!TakeLanguage(args, tool))
        return Fail("--language takes fr or en");
    const FileType* type = args.size() == 1 ? FileTypeOf(args[0]) : nullptr;
    if (type != &filetypes::kCalibration && type != &filetypes::kFactory)
        return Fail("compare takes one calibration (.eta) or factory (.rus) file");
    const std::string& path = args[0];
    const ParameterForm& form = FormOf(*type);

    ProgramState file = tool.state;
    const FileStatus status = LoadSettingsFile(path, *type, ReplyImage(file.buffers), file.record);
    if (status != FileStatus::Ok)
        return FileFailure(status, path, *type);
    if (ReadIntoRecord(tool, *type) != 0)
        return tool.failure();

    ChoiceList probes{};
    SetProbeNames(probes, tool.state.catalogue);
    const std::vector<ChoiceBinding> choices = WithProbeList(form.choices, &probes);
    const ComparedBlock block{type, form.numbers, form.numberNames, choices, form.choiceNames};
    const DeviationReport report = MakeDeviationReport(block, tool.state, file, path, QDateTime::currentDateTime(),
                                                       UserLocaleItems(), tool.state.settings.language);
    std::fputs(report.text.c_str(), stdout);
    return report.deviations == 0 ? 0 : 1;
}

int Initialise(Tool& tool, const Args& given)
{
    Args args = given;
    InitialisationChoice blocks{0, 0, 0};
    blocks.calibration = TakeFlag(args, "--calibration") ? 1 : 0;
    blocks.factory = TakeFlag(args, "--factory") ? 1 : 0;
    blocks.maker = TakeFlag(args, "--maker") ? 1 : 0;
    if (!args.empty())
        return Fail("init takes --calibration, --factory and --maker");
    const BroadcastAddress address(tool.state.settings.link);
    if (InitialiseUnit(tool.link, blocks, QDateTime::currentDateTime()) != 0)
        return tool.failure();
    return 0;
}

}  // namespace vantor::ctl
