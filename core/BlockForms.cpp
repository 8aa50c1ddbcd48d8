#include "BlockForms.h"

namespace vantor {

namespace {

using namespace lang;

// Calibration

CalibrationValues& cal(ProgramState& s) { return s.record.calibration; }

#define NUMBER(id, field, format, low, high) \
    {id, [](ProgramState& s) -> float& { return cal(s).field; }, format, low, high}
constexpr NumberBinding kCalibrationNumbers[] = {
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
constexpr ChoiceBinding kCalibrationChoices[] = {
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

// Names of the compared values in a deviation report, in table order.
constexpr BilingualText kCalibrationNumberNames[] = {
    CalExtDiameter, CalLength, CalAxD,       MeasGain,   CalUSImpulse, CalThickness,   CalC0,
    CalDeltaC,      CalQ0,     CalCutOFF,    CalMaxQ,    CalKH,        CalViscosity,   CalRoughness,
    CalFilter,      CalMemory, CalThresholdR1, CalThresholdR2, CalJbus,
};
constexpr BilingualText kCalibrationChoiceNames[] = {
    MeasProbe,  CalPolarity,   CalMaterial,   CalProbeMounting, CalStopMeasOn,
    CalTypeOfGain, CalProduct, CalQUnit,      CalKHType,        CalTotalizer1,
    CalTotalizer2, CalPulseWeight, CalPulseWidth, CalRelay1,    CalRelay2,
};
static_assert(std::size(kCalibrationNumberNames) == std::size(kCalibrationNumbers) && std::size(kCalibrationChoiceNames) == std::size(kCalibrationChoices));

// Factory

FactoryValues& fac(ProgramState& s) { return s.record.factory; }

#define NUMBER(id, field, format, low, high) \
    {id, [](ProgramState& s) -> float& { return fac(s).field; }, format, low, high}
constexpr NumberBinding kFactoryNumbers[] = {
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
constexpr ChoiceBinding kFactoryChoices[] = {
    CHOICE(1159, language, 6, &ListInstrumentLanguage, 0),
    CHOICE(1161, function, 2, &ListFunction, 1),
    CHOICE(1215, txRxMode, 7, &ListTxRxMode, 1),
    CHOICE(1163, frequency1, 8, &ListFrequency, 0),
    CHOICE(1182, frequency2, 8, &ListFrequency, 0),
    CHOICE(1217, qRefUnit, 12, &ListFlowUnit, 1),
};
#undef CHOICE

// Names of the compared values in a deviation report, in table order.
constexpr BilingualText kFactoryNumberNames[] = {
    FacQSimulation, FacJeeterQ, FacMaxGain, FacCoefExtP, FacCAGTime, FacTXDelay, FacT0SP1, FacAngleSP1,
    FacT0SP2,       FacAngleSP2, FacQRef,   FacCoef0,    FacCoef10,  FacCoef20,  FacCoef30, FacCoef40,
    FacCoef50,      FacCoef60,  FacCoef70,  FacCoef80,   FacCoef90,  FacCoef100,
};
constexpr BilingualText kFactoryChoiceNames[] = {
    FacLanguage, FacFunction, FacTXRXMode, FacFrequencySP1, FacFrequencySP2, FacQRefUnit,
};
static_assert(std::size(kFactoryNumberNames) == std::size(kFactoryNumbers) && std::size(kFactoryChoiceNames) == std::size(kFactoryChoices));

// Maker

#define NUMBER(id, field, format, low, high) \
    {id, [](ProgramState& s) -> float& { return s.record.maker.field; }, format, low, high}
constexpr NumberBinding kMakerNumbers[] = {
    // The reference's three parts stand side by side with their leading zeros.
    NUMBER(1219, ref1, "%02.0f", 1, 52),
    NUMBER(1221, ref2, "%02.0f", 0, 99),
    NUMBER(1223, ref3, "%05.0f", 0, 65535),
    NUMBER(1227, points4mA, "%5.0f", 8000, 13000),
    NUMBER(1231, points20mA, "%5.0f", 52000, 57000),
};
#undef NUMBER

// CAN

#define NUMBER(id, field, low, high) \
    {id, [](ProgramState& s) -> float& { return s.record.can.field; }, "%.0f", low, high}
constexpr NumberBinding kCanNumbers[] = {
    NUMBER(1226, node, 0, 15),
    NUMBER(1228, type, 0, 255),
    NUMBER(1240, txTimer, 0, 100),  // tenths of a second
};
#undef NUMBER

constexpr ChoiceBinding kCanChoices[] = {
    {1087, [](ProgramState& s) -> int32_t& { return s.record.can.frequency; }, 7, &ListCanBitRate, 0},
};

}  // namespace

namespace forms {
const BlockForm kCalibration{&filetypes::kCalibration, kCalibrationNumbers, kCalibrationChoices,
                             kCalibrationNumberNames, kCalibrationChoiceNames};
const BlockForm kFactory{&filetypes::kFactory, kFactoryNumbers, kFactoryChoices, kFactoryNumberNames,
                         kFactoryChoiceNames};
const BlockForm kMaker{&filetypes::kMaker, kMakerNumbers, {}};
const BlockForm kCan{&filetypes::kCan, kCanNumbers, kCanChoices};
}  // namespace forms

const BlockForm& formOf(const FileType& type)
{
    for (const BlockForm* form : {&forms::kCalibration, &forms::kFactory, &forms::kMaker, &forms::kCan})
        if (form->fileType == &type)
            return *form;
    return forms::kCalibration;
}

}  // namespace vantor
