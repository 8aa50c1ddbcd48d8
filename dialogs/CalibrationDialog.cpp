#include "CalibrationDialog.h"

#include "LanguageTables.h"
#include "Templates.h"

namespace vantor {

namespace {

using namespace lang;

CalibrationValues& cal(ProgramState& s) { return s.record.calibration; }

constexpr LabelBinding kLabels[] = {
    {1401, MeasProbe},        {1402, CalProbeMounting}, {1078, CalLength},       {1080, MeasMillimetres},
    {1069, CalAxD},           {1071, MeasMillimetres},  {1403, CalPolarity},     {1404, CalStopMeasOn},
    {1405, CalUSImpulse},     {1406, CalTypeOfGain},    {1023, MeasGain},        {1407, MeasDecibel},
    {1408, CalRelay1},        {1134, CalThresholdR1},   {1409, CalRelay2},       {1136, CalThresholdR2},
    {1410, CalExtDiameter},   {1411, MeasMillimetres},  {1412, CalThickness},    {1413, MeasMillimetres},
    {1414, CalMaterial},      {1113, CalRoughness},     {1115, MeasMillimetres}, {1415, CalProduct},
    {1076, CalC0},            {1075, MeasMetresPerSecond}, {1077, CalDeltaC},    {1073, MeasMetresPerSecond},
    {1416, CalKHType},        {1033, CalKH},            {1107, CalViscosity},    {1111, CalCentistokes},
    {1417, CalJbus},          {1418, CalQUnit},         {1419, CalMaxQ},         {1420, CalQ0},
    {1421, CalCutOFF},        {1422, CalPercentQMax},   {1423, CalFilter},       {1424, CalCycle},
    {1425, CalMemory},        {1426, CalCycle},         {1427, CalTotalizer1},   {1428, CalTotalizer2},
    {1429, CalPulseWeight},   {1128, CalPulseWidth},
};

#define NUMBER(id, field, format, low, high) \
    {id, [](ProgramState& s) -> float& { return cal(s).field; }, format, low, high}
constexpr NumberBinding kNumbers[] = {
    NUMBER(1082, extDiameter, "%.1f", 10, 2200),
    NUMBER(1079, length, "%.1f", 20, 6000),
    NUMBER(1070, axialDistance, "%.1f", 20, 4000),
    NUMBER(1056, gain, "%.0f", 0, 80),
    NUMBER(1058, usImpulse, "%.0f", 1, 10),
    NUMBER(1061, thickness, "%.1f", 0, 290),
    NUMBER(1074, c0, "%.0f", 200, 4000),
    NUMBER(1072, deltaC, "%.0f", 1, 500),
    NUMBER(1094, q0, "%.3f", -999.999, 999.999),
    NUMBER(1099, cutOff, "%.0f", 0, 30),
    NUMBER(1121, maxQ, "%.1f", 0, 99999.9),
    NUMBER(1117, kh, "%.3f", 0, 10),
    NUMBER(1109, viscosity, "%.1f", 0.1, 999.9),
    NUMBER(1114, roughness, "%.2f", 0.01, 20),
    NUMBER(1090, filter, "%.0f", 0, 300),
    NUMBER(1118, memory, "%.0f", 0, 9999),
    NUMBER(1140, thresholdR1, "%.1f", -99999.9, 99999.9),
    NUMBER(1142, thresholdR2, "%.1f", -99999.9, 99999.9),
    NUMBER(1146, jbus, "%.0f", 0, 255),
};
#undef NUMBER

#define CHOICE(id, field, count, list, bilingual) \
    {id, [](ProgramState& s) -> int32_t& { return cal(s).field; }, count, list, bilingual}
constexpr ChoiceBinding kChoices[] = {
    CHOICE(1054, probe, 24, nullptr, 0),  // the probe catalogue
    CHOICE(1052, polarity, 2, &ListPolarity, 1),
    CHOICE(1085, material, 13, &ListMaterial, 1),
    CHOICE(1051, probeMounting, 3, &ListMounting, 1),
    CHOICE(1053, stopMeasurementOn, 2, &ListStopOn, 1),
    CHOICE(1055, gainType, 2, &ListManualAuto, 1),
    CHOICE(1064, product, 2, &ListProduct, 1),
    CHOICE(1120, qUnit, 12, &ListFlowUnit, 1),
    CHOICE(1116, khType, 2, &ListAutoManual, 1),
    CHOICE(1122, totalizer1, 3, &ListTotalizerSign, 0),
    CHOICE(1124, totalizer2, 3, &ListTotalizerSign, 0),
    CHOICE(1127, pulseWeight, 10, &ListTotalizerUnit, 1),
    CHOICE(1129, pulseWidth, 12, &ListPulseWidth, 0),
    CHOICE(1131, relay1, 7, &ListRelayType, 1),
    CHOICE(1133, relay2, 7, &ListRelayType, 1),
};
#undef CHOICE

constexpr CheckBinding kChecks[] = {
    {1135, [](ProgramState& s) -> uint8_t& { return s.upload.syncClock; }, CalSyncPcTime},
    {1139, [](ProgramState& s) -> uint8_t& { return s.upload.resetTotalizer1; }, CalEraseTot1},
    {1145, [](ProgramState& s) -> uint8_t& { return s.upload.resetTotalizer2; }, CalEraseTot2},
};

// Names of the compared values in a deviation report, in table order.
constexpr BilingualText kNumberNames[] = {
    CalExtDiameter, CalLength, CalAxD,       MeasGain,   CalUSImpulse, CalThickness,   CalC0,
    CalDeltaC,      CalQ0,     CalCutOFF,    CalMaxQ,    CalKH,        CalViscosity,   CalRoughness,
    CalFilter,      CalMemory, CalThresholdR1, CalThresholdR2, CalJbus,
};
constexpr BilingualText kChoiceNames[] = {
    MeasProbe,  CalPolarity,   CalMaterial,   CalProbeMounting, CalStopMeasOn,
    CalTypeOfGain, CalProduct, CalQUnit,      CalKHType,        CalTotalizer1,
    CalTotalizer2, CalPulseWeight, CalPulseWidth, CalRelay1,    CalRelay2,
};
static_assert(std::size(kNumberNames) == std::size(kNumbers) && std::size(kChoiceNames) == std::size(kChoices));

// COMPARE and the upload options mean nothing on paper.
constexpr int kOffPaper[] = {controls::kCompare, 1135, 1139, 1145};

constexpr ParameterForm kForm{&templates::kCalibration, CalCaption, &filetypes::kCalibration, kLabels, kNumbers,
                              kChoices, kChecks, kNumberNames, kChoiceNames, "Calibration", kOffPaper};

}  // namespace

const ParameterForm& CalibrationDialog::form() { return kForm; }

CalibrationDialog::CalibrationDialog(const DialogContext& context, QWidget* owner)
    : ParameterDialog(kForm, context, owner)
{
}

void CalibrationDialog::applyRules()
{
    const CalibrationValues& c = state().record.calibration;
    const ProbeCatalogue& catalogue = state().catalogue;
    const bool angled = c.probe >= 0 && c.probe < kProbeCount && catalogue.angles[c.probe] != 0;
    showControls({1078, 1079, 1080, 1069, 1070, 1071}, !angled);
    showControls({1076, 1074, 1075, 1077, 1072, 1073}, c.product != 0);
    const bool automaticKh = c.khType == 0;
    showControls({1033, 1117}, !automaticKh);
    showControls({1107, 1109, 1111, 1113, 1114, 1115}, automaticKh);
    const auto totalizerRelay = [](int32_t relay) { return relay == 1 || relay == 2; };
    showControls({1128, 1129}, totalizerRelay(c.relay1) || totalizerRelay(c.relay2));
    showControls({1134, 1140}, c.relay1 == 5);
    showControls({1136, 1142}, c.relay2 == 5);
    const int language = context().language();
    setControlText(1023, QString::fromUtf8((c.gainType != 0 ? MeasMargin : MeasGain).text(language)));
}

UploadRequest CalibrationDialog::uploadOptions() const
{
    const UploadOptions& options = state().upload;
    return {options.syncClock != 0, options.resetTotalizer1 != 0, options.resetTotalizer2 != 0};
}

void CalibrationDialog::afterUpload()
{
    // The options are for one upload only, whatever became of it.
    state().upload = UploadOptions{};
    setChecks(*this, kChecks, state());
}

}  // namespace vantor
