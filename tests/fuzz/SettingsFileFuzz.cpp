// Settings files read from disk: the same bytes opened as each type (.eta, .rus,
// .hdm, .can), then compared with the instrument's values and shown, as the
// dialogs and vantorctl do with what they load.
#include "JbusMaster.h"
#include "BlockForms.h"
#include "DeviationReport.h"
#include "FuzzSupport.h"
#include "NumberText.h"
#include "SettingsFiles.h"

#include <cstdlib>

using namespace vantor;

namespace {

const BlockForm* const kForms[] = {&forms::kCalibration, &forms::kFactory, &forms::kMaker, &forms::kCan};

void load(const std::string& path, const BlockForm& form, int language)
{
    const FileType& type = *form.fileType;
    ProgramState file;
    file.settings.language = language;
    // A refused file leaves the image as it was.
    std::vector<uint8_t> loaded(JbusMaster::kFrameSize, 0xA5);
    const FileStatus status = loadSettingsFile(path, type, loaded, file.record);
    if (status != FileStatus::Ok) {
        for (uint8_t b : loaded)
            FUZZ_CHECK(b == 0xA5);
        return;
    }
    const std::span<const uint8_t> image = std::span<const uint8_t>(loaded).first(type.codec->block->imageSize());

    // The comparison with the instrument, here holding the block's defaults.
    ProgramState instrument;
    std::vector<uint8_t> defaults(type.codec->block->imageSize());
    type.codec->encodeDefaults(std::span<uint8_t>(defaults));
    type.codec->decode(std::span<const uint8_t>(defaults), instrument.record);
    (void)type.codec->differingRows(image, std::span<const uint8_t>(defaults));
    (void)type.codec->matchesLastRead(file.record, image);
    ChoiceList probes{};
    setProbeNames(probes, instrument.catalogue);
    const std::vector<ChoiceParameter> choices = withProbeList(form.choices, &probes);
    if (form.offersComparison()) {
        const LocalDateTime now{2024, 2, 29, 23, 59, 59};
        (void)makeDeviationReport(form, instrument.catalogue, instrument.record, file.record, path, now, LocaleItems{},
                                  language);
        (void)valuesOutsideLimits(form, file.record, language);
    }

    // Shown in the dialog: clamped into what the controls hold, then formatted.
    storeClampedNumbers(form.numbers, file);
    clampChoices(choices, file);
    for (const NumberParameter& b : form.numbers) {
        // Within the limits, as near as a float comes to them.
        const float value = b.value(file);
        FUZZ_CHECK(value >= static_cast<float>(b.minimum) && value <= static_cast<float>(b.maximum));
        (void)formatBoundNumber(b.format, value, file.decimalsCount);
    }
    for (const ChoiceParameter& b : choices)
        (void)choiceText(*b.list, b.count, b.bilingual == 1, b.value(file), language);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::writeInputFile("settings", data, size);
    // The language only chooses texts: alternate it rather than spend input on it.
    const int language = size % 2 == 0 ? kFrench : kEnglish;
    for (const BlockForm* form : kForms)
        load(path, *form, language);
    return 0;
}
