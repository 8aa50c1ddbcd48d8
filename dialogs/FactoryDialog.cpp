#include "FactoryDialog.h"

#include "LanguageTables.h"
#include "Templates.h"

namespace vantor {

namespace {

using namespace lang;

FactoryValues& fac(ProgramState& s) { return s.record.factory; }

constexpr LabelBinding kLabels[] = {
    {1430, FacLanguage},  {1431, FacFunction},  {1164, FacQSimulation}, {1166, FacJeeterQ},
    {1098, MeasPercent},  {1432, FacTXRXMode},  {1433, FacMaxGain},     {1434, MeasDecibel},
    {1435, FacCoefExtP},  {1436, FacCAGTime},   {1437, MeasPercent},    {1438, FacTXDelay},
    {1439, MeasMilliseconds},
    {1440, FacSP1Probe},  {1441, FacT0},        {1442, MeasMicroseconds}, {1178, FacAngle},
    {1108, FacDegree},    {1162, FacFrequency},
    {1443, FacSP2Probe},  {1444, FacT0},        {1445, MeasMicroseconds}, {1185, FacAngle},
    {1112, FacDegree},    {1181, FacFrequency},
    {1446, FacLinearization}, {1447, FacQRef},
    {1448, FacCoef0},     {1449, FacCoef10},    {1450, FacCoef20},      {1451, FacCoef30},
    {1452, FacCoef40},    {1453, FacCoef50},    {1454, FacCoef60},      {1455, FacCoef70},
    {1456, FacCoef80},    {1457, FacCoef90},    {1458, FacCoef100},
};

#define NUMBER(id, field, format, low, high) \
    {id, [](ProgramState& s) -> float& { return fac(s).field; }, format, low, high}
constexpr NumberBinding kNumbers[] = {
    NUMBER(1165, qSimulation, "%.3f", -999.999, 999.999),
    NUMBER(1167, jitterQ, "%.0f", 0, 100),
    NUMBER(1175, maxGain, "%.0f", 0, 80),
    NUMBER(1173, coefExtP, "%.1f", 0, 10),
    NUMBER(1169, cagTime, "%.0f", 1, 100),
    NUMBER(1171, txDelay, "%.0f", 0, 100),
    NUMBER(1177, t0Probe1, "%.1f", 0, 25.5),
    NUMBER(1179, angle1, "%.2f", 0, 90),
    NUMBER(1184, t0Probe2, "%.1f", 0, 25.5),
    NUMBER(1186, angle2, "%.2f", 0, 90),
    NUMBER(1189, qRef, "%.0f", 0, 10000),
    NUMBER(1191, coef0, "%.3f", 0, 65),
    NUMBER(1193, coef10, "%.3f", 0, 65),
    NUMBER(1195, coef20, "%.3f", 0, 65),
    NUMBER(1197, coef30, "%.3f", 0, 65),
    NUMBER(1200, coef40, "%.3f", 0, 65),
    NUMBER(1202, coef50, "%.3f", 0, 65),
    NUMBER(1204, coef60, "%.3f", 0, 65),
    NUMBER(1206, coef70, "%.3f", 0, 65),
    NUMBER(1208, coef80, "%.3f", 0, 65),
    NUMBER(1210, coef90, "%.3f", 0, 65),
    NUMBER(1212, coef100, "%.3f", 0, 65),
};
#undef NUMBER

#define CHOICE(id, field, count, list, bilingual) \
    {id, [](ProgramState& s) -> int32_t& { return fac(s).field; }, count, list, bilingual}
constexpr ChoiceBinding kChoices[] = {
    CHOICE(1159, language, 6, &ListInstrumentLanguage, 0),
    CHOICE(1161, function, 2, &ListFunction, 1),
    CHOICE(1215, txRxMode, 7, &ListTxRxMode, 1),
    CHOICE(1163, frequency1, 8, &ListFrequency, 0),
    CHOICE(1182, frequency2, 8, &ListFrequency, 0),
    CHOICE(1217, qRefUnit, 12, &ListFlowUnit, 1),
};
#undef CHOICE

// Names of the compared values in a deviation report, in table order.
constexpr BilingualText kNumberNames[] = {
    FacQSimulation, FacJeeterQ, FacMaxGain, FacCoefExtP, FacCAGTime, FacTXDelay, FacT0SP1, FacAngleSP1,
    FacT0SP2,       FacAngleSP2, FacQRef,   FacCoef0,    FacCoef10,  FacCoef20,  FacCoef30, FacCoef40,
    FacCoef50,      FacCoef60,  FacCoef70,  FacCoef80,   FacCoef90,  FacCoef100,
};
constexpr BilingualText kChoiceNames[] = {
    FacLanguage, FacFunction, FacTXRXMode, FacFrequencySP1, FacFrequencySP2, FacQRefUnit,
};
static_assert(std::size(kNumberNames) == std::size(kNumbers) && std::size(kChoiceNames) == std::size(kChoices));

constexpr ParameterForm kForm{&templates::kFactory, FacCaption, &filetypes::kFactory, kLabels, kNumbers,
                              kChoices, {}, kNumberNames, kChoiceNames, "Factory"};

}  // namespace

const ParameterForm& FactoryDialog::form() { return kForm; }

FactoryDialog::FactoryDialog(const DialogContext& context, QWidget* owner) : ParameterDialog(kForm, context, owner) {}

void FactoryDialog::applyRules()
{
    const FactoryValues& f = state().record.factory;
    showControls({1164, 1165, 1166, 1167, 1098}, f.function != 0);
    showControls({1178, 1179, 1108, 1162, 1163}, f.t0Probe1 != 0);
    showControls({1185, 1186, 1112, 1181, 1182}, f.t0Probe2 != 0);
}

void FactoryDialog::afterUpload()
{
    // The factory block may change the probes: the catalogue is read again
    // before the next transaction, even when the upload was declined.
    context().link.invalidateProbeCatalogue();
}

}  // namespace vantor
