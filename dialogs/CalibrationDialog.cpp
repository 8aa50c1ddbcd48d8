#include "CalibrationDialog.h"

#include "LanguageTables.h"
#include "Templates.h"

namespace vantor {

namespace {

using namespace lang;

using C = CalibrationValues;
constexpr ControlBinding<C> kControls[] = {
    {1082, &C::extDiameter}, {1079, &C::length}, {1070, &C::axialDistance},
    {1056, &C::gain}, {1058, &C::usImpulse}, {1061, &C::thickness},
    {1074, &C::c0}, {1072, &C::deltaC}, {1094, &C::q0},
    {1099, &C::cutOff}, {1121, &C::maxQ}, {1117, &C::kh},
    {1109, &C::viscosity}, {1114, &C::roughness}, {1090, &C::filter},
    {1118, &C::memory}, {1140, &C::thresholdR1}, {1142, &C::thresholdR2},
    {1146, &C::jbus}, {1054, &C::probe}, {1052, &C::polarity},
    {1085, &C::material}, {1051, &C::probeMounting}, {1053, &C::stopMeasurementOn},
    {1055, &C::gainType}, {1064, &C::product}, {1120, &C::qUnit},
    {1116, &C::khType}, {1122, &C::totalizer1}, {1124, &C::totalizer2},
    {1127, &C::pulseWeight}, {1129, &C::pulseWidth}, {1131, &C::relay1},
    {1133, &C::relay2},
};

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

constexpr CheckBinding kChecks[] = {
    {1135, [](ProgramState& s) -> uint8_t& { return s.upload.syncClock; }, CalSyncPcTime},
    {1139, [](ProgramState& s) -> uint8_t& { return s.upload.resetTotalizer1; }, CalEraseTot1},
    {1145, [](ProgramState& s) -> uint8_t& { return s.upload.resetTotalizer2; }, CalEraseTot2},
};

// COMPARE and the upload options mean nothing on paper.
constexpr int kOffPaper[] = {controls::kCompare, 1135, 1139, 1145};

const ParameterForm kForm{&templates::kCalibration, CalCaption, &forms::kCalibration, controlIn<kControls>, kLabels, kChecks, PrintNameCalibration,
                          kOffPaper};

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
