// The register map: one descriptor table per block, and the list of blocks.
// A row's offset places it in the image, so rows may stand in any order: the
// edited blocks list theirs in the order their dialogs walk them and their
// deviation reports list them, numbers before choices.
#pragma once

#include "Descriptor.h"
#include "LanguageTables.h"
#include "ParameterRecord.h"
#include "ProbeCatalogue.h"

#include <array>
#include <cstdint>

namespace vantor {

struct BlockInfo {
    const char* name;
    uint16_t firstRegister;
    uint16_t registerCount;
    constexpr uint16_t imageSize() const { return static_cast<uint16_t>(2 * registerCount); }
};

inline constexpr BlockInfo kMeasurementBlock{"measurement", 0x0010, 36};
inline constexpr BlockInfo kCalibrationBlock{"calibration", 0x1100, 28};
inline constexpr BlockInfo kUnitAddressBlock{"address", 0x111A, 1};
inline constexpr BlockInfo kCanBlock{"can", 0x111C, 4};
inline constexpr BlockInfo kFactoryBlock{"factory", 0x2200, 24};
inline constexpr BlockInfo kClockBlock{"clock", 0x2301, 3};
inline constexpr BlockInfo kTotalizerResetBlock{"totalizer reset", 0x2306, 2};
inline constexpr BlockInfo kMakerBlock{"maker", 0x3000, 5};
inline constexpr BlockInfo kProbeCatalogueBlock{"catalogue", kProbeCatalogueFirstRegister, kProbeCatalogueRegisterCount};

namespace tables {

// The measurement's numbers are shown as they come, within a bound of their
// boxes' width.
inline constexpr double kUnbounded = 9999999;

using M = MeasurementValues;
inline constexpr Descriptor<M> kMeasurement[] = {
    {&M::flow, kFloat32, 0, 0, 0, "Flow", "flow unit", lang::MeasFlow, number("", -kUnbounded, kUnbounded)},
    {&M::speed, kFloat32, 4, 0, 0, "Flow speed", "m/s", lang::ConvFlowSpeed, number("", -kUnbounded, kUnbounded)},
    {&M::totalizer1, kInt32, 8, 0, 0, "Totalizer T1", "", {"Totalisateur T1", "Totalizer T1"}},
    {&M::totalizer2, kInt32, 12, 0, 0, "Totalizer T2", "", {"Totalisateur T2", "Totalizer T2"}},
    {&M::totalizer1Sign, kNibble, 16, 1, 0, "T1 sign mode", "", {"Signe T1", "T1 sign mode"}, choice(lang::ListTotalizerSign)},
    {&M::totalizer2Sign, kNibble, 16, 0, 0, "T2 sign mode", "", {"Signe T2", "T2 sign mode"}, choice(lang::ListTotalizerSign)},
    {&M::totalizer1Unit, kNibble, 17, 1, 0, "T1 unit", "", lang::ConvT1Unit, choice(lang::ListTotalizerUnit)},
    {&M::totalizer2Unit, kNibble, 17, 0, 0, "T2 unit", "", lang::ConvT2Unit, choice(lang::ListTotalizerUnit)},
    {&M::flowUnit, kByte, 18, 0, 0, "Flow unit", "", lang::CalQUnit, choice(lang::ListFlowUnit)},
    {&M::khMode, kByte, 21, 0, 0, "Kh mode", "", lang::ConvKhMode, choice(lang::ListAutoManuTag)},
    {&M::faultState, kByte, 22, 0, 0, "Fault state", "", lang::ConvFaultState, choice(lang::ListFaultState)},
    {&M::velocity, kScaledI16, 24, 1, 0, "Sound velocity", "m/s", lang::ConvSoundVelocity, number("%.0f", 0, kUnbounded)},
    {&M::kh, kFloat32, 26, 0, 0, "Kh", "", lang::MeasKh, number("%.3f", 0, kUnbounded)},
    {&M::deltaT, kFloat32, 30, 0, 0, "DeltaT", "ns", lang::MeasDeltaT, number("%.1f", -kUnbounded, kUnbounded)},
    {&M::time, kFloat32, 34, 0, 0, "Time", "\xC2\xB5s", lang::MeasTime, number("%.1f", 0, kUnbounded)},
    {&M::month, kByte, 38, 0, 0, "Month", "", {"Mois", "Month"}},
    {&M::year, kByte, 39, 0, 0, "Year minus 2000", "", {"Année moins 2000", "Year minus 2000"}},
    {&M::hour, kByte, 40, 0, 0, "Hour", "", {"Heure", "Hour"}},
    {&M::day, kByte, 41, 0, 0, "Day of month", "", {"Jour", "Day of month"}},
    {&M::second, kByte, 42, 0, 0, "Second", "", {"Seconde", "Second"}},
    {&M::minute, kByte, 43, 0, 0, "Minute", "", {"Minute", "Minute"}},
    {&M::probeIndex, kUint16, 44, 0, 0, "Probe index", "", lang::MeasProbe, kProbeChoice},
    {&M::notDisplayed, kUint16, 46, 0, 0, "(not displayed)", "", {"(non affiché)", "(not displayed)"}},
    {&M::probeDistance, kFloat32, 48, 0, 0, "D. Probe", "mm", lang::MeasDProbe, number("%.0f", 0, kUnbounded)},
    {&M::gain, kScaledU8, 52, 1, 0, "Gain", "dB", lang::MeasGain, number("%.0f", 0, kUnbounded)},
    {&M::signalQuality, kScaledU8, 54, 1, 0, "I.Q.", "%", lang::MeasIQ, number("%.0f", 0, kUnbounded)},
    {&M::softwareVersion, kText, 56, 12, 0, "Software version", "", lang::MeasSoftware},
    {&M::hardware, kByte, 68, 0, 0, "Hardware generation", "", lang::MeasHardware, choice(lang::ListHardware)},
    {&M::model, kByte, 70, 0, 0, "Model", "", {"Modèle", "Model"}, choice(lang::ListModel)},
};

using C = CalibrationValues;
inline constexpr Descriptor<C> kCalibration[] = {
    {&C::extDiameter, kScaledI24, 1, 10, 261, "Ext. Diameter", "mm", lang::CalExtDiameter, number("%.1f", 10, 2200)},
    {&C::length, kScaledI24, 8, 10, 2828, "Length", "mm", lang::CalLength, number("%.1f", 20, 6000)},
    {&C::axialDistance, kScaledI24, 11, 10, 2000, "Ax. D.", "mm", lang::CalAxD, number("%.1f", 20, 4000)},
    {&C::gain, kScaledU8, 15, 1, 12, "Gain", "dB", lang::MeasGain, number("%.0f", 0, 80)},
    {&C::usImpulse, kScaledU8, 55, 1, 1, "US Impulse", "", lang::CalUSImpulse, number("%.0f", 1, 10)},
    {&C::thickness, kScaledU16, 24, 10, 9, "Thickness", "mm", lang::CalThickness, number("%.1f", 0, 290)},
    {&C::c0, kScaledU16, 27, 1, 1500, "C0", "m/s", lang::CalC0, number("%.0f", 200, 4000)},
    {&C::deltaC, kScaledU16, 29, 1, 200, "Delta C", "m/s", lang::CalDeltaC, number("%.0f", 1, 500)},
    {&C::q0, kScaledI24, 16, 1000, 0, "Q0", "", lang::CalQ0, number("%.3f", -999.999, 999.999)},
    {&C::cutOff, kScaledU8, 51, 1, 0, "Cut OFF", "% of MaxQ", lang::CalCutOFF, number("%.0f", 0, 30)},
    {&C::maxQ, kScaledI24, 35, 10, 100, "MaxQ", "", lang::CalMaxQ, number("%.1f", 0, 99999.9)},
    {&C::kh, kScaledU16, 6, 1000, 1055, "KH", "", lang::CalKH, number("%.3f", 0, 10)},
    {&C::viscosity, kScaledU16, 19, 10, 10, "Viscosity", "cSt", lang::CalViscosity, number("%.1f", 0.1, 999.9)},
    {&C::roughness, kScaledU16, 21, 100, 10, "Roughness", "mm", lang::CalRoughness, number("%.2f", 0.01, 20)},
    {&C::filter, kScaledU16, 31, 1, 5, "Filter", "cycles", lang::CalFilter, number("%.0f", 0, 300)},
    {&C::memory, kScaledU16, 33, 1, 10, "Memory", "cycles", lang::CalMemory, number("%.0f", 0, 9999)},
    {&C::thresholdR1, kScaledI24, 43, 10, 1000, "Threshold R1", "", lang::CalThresholdR1, number("%.1f", -99999.9, 99999.9)},
    {&C::thresholdR2, kScaledI24, 46, 10, 1000, "Threshold R2", "", lang::CalThresholdR2, number("%.1f", -99999.9, 99999.9)},
    {&C::jbus, kScaledU8, 53, 1, 1, "Jbus", "", lang::CalJbus, number("%.0f", 0, 255)},
    {&C::probe, kByte, 49, 0, 3, "Probe", "", lang::MeasProbe, kProbeChoice},
    {&C::polarity, kByte, 52, 0, 0, "Polarity", "", lang::CalPolarity, choice(lang::ListPolarity)},
    {&C::material, kByte, 23, 0, 6, "Material", "", lang::CalMaterial, choice(lang::ListMaterial)},
    {&C::probeMounting, kByte, 0, 0, 1, "Probe Mounting", "", lang::CalProbeMounting, choice(lang::ListMounting)},
    {&C::stopMeasurementOn, kByte, 54, 0, 1, "Stop meas. on", "", lang::CalStopMeasOn, choice(lang::ListStopOn)},
    {&C::gainType, kByte, 14, 0, 1, "Type of Gain", "", lang::CalTypeOfGain, choice(lang::ListManualAuto)},
    {&C::product, kByte, 26, 0, 0, "Product", "", lang::CalProduct, choice(lang::ListProduct)},
    {&C::qUnit, kByte, 4, 0, 4, "Q Unit", "", lang::CalQUnit, choice(lang::ListFlowUnit)},
    {&C::khType, kByte, 5, 0, 0, "KH Type", "", lang::CalKHType, choice(lang::ListAutoManual)},
    {&C::totalizer1, kByte, 38, 0, 1, "Totalizer1", "", lang::CalTotalizer1, choice(lang::ListTotalizerSign)},
    {&C::totalizer2, kByte, 40, 0, 0, "Totalizer2", "", lang::CalTotalizer2, choice(lang::ListTotalizerSign)},
    {&C::pulseWeight, kByte, 39, 0, 5, "Pulse weight", "", lang::CalPulseWeight, choice(lang::ListTotalizerUnit)},
    {&C::pulseWidth, kByte, 50, 0, 0, "Pulse width", "", lang::CalPulseWidth, choice(lang::ListPulseWidth)},
    {&C::relay1, kByte, 41, 0, 0, "Relay1", "", lang::CalRelay1, choice(lang::ListRelayType)},
    {&C::relay2, kByte, 42, 0, 0, "Relay2", "", lang::CalRelay2, choice(lang::ListRelayType)},
};

using N = CanValues;
inline constexpr Descriptor<N> kCan[] = {
    {&N::node, kScaledU8, 0, 1, 2, "N\xC2\xB0", "", lang::CanNumber, number("%.0f", 0, 15)},
    {&N::type, kScaledU8, 1, 1, 5, "Type", "", lang::CanType, number("%.0f", 0, 255)},
    {&N::frequency, kByte, 2, 0, 0, "Frequency", "", lang::CanFrequency, choice(lang::ListCanBitRate)},
    {&N::txTimer, kScaledU8, 3, 1, 0, "TX Timer", "x 100 ms", lang::CanTXTimer, number("%.0f", 0, 100)},
    {&N::flow, kBit, 4, 0, 0, "Flow", "", lang::MeasFlow},
    {&N::speed, kBit, 4, 1, 0, "Speed", "", lang::MeasSpeed},
    {&N::t1, kBit, 4, 2, 0, "T1", "", lang::MeasT1},
    {&N::t2, kBit, 4, 3, 0, "T2", "", lang::MeasT2},
    {&N::totFormat, kBit, 4, 4, 0, "Tot. Format", "", lang::CanTotFormat},
    {&N::qUnit, kBit, 4, 5, 0, "Q Unit", "", lang::CalQUnit},
    {&N::khType, kBit, 4, 6, 0, "KH Type", "", lang::CalKHType},
    {&N::fault, kBit, 4, 7, 0, "Fault", "", lang::CanFault},
    {&N::velocity, kBit, 5, 0, 0, "Velocity", "", lang::MeasVelocity},
    {&N::kh, kBit, 5, 1, 0, "KH", "", lang::CalKH},
    {&N::deltaT, kBit, 5, 2, 0, "DeltaT", "", lang::MeasDeltaT},
    {&N::time, kBit, 5, 3, 0, "Time", "", lang::MeasTime},
    {&N::dateTime, kBit, 5, 4, 0, "Date/Time", "", lang::CanDateTime},
    {&N::probe, kBit, 5, 5, 0, "Probe", "", lang::MeasProbe},
    {&N::probeType, kBit, 5, 6, 0, "Probe Type", "", lang::CanProbeType},
    {&N::probeDistance, kBit, 5, 7, 0, "D. Probe", "", lang::MeasDProbe},
    {&N::gain, kBit, 6, 0, 0, "Gain", "", lang::MeasGain},
    {&N::signalQuality, kBit, 6, 1, 0, "I.Q.", "", lang::MeasIQ},
    {&N::softRef1, kBit, 6, 2, 0, "Soft Ref 1", "", lang::CanSoftRef1},
    {&N::softRef2, kBit, 6, 3, 0, "Soft Ref 2", "", lang::CanSoftRef2},
    {&N::boardRef, kBit, 6, 4, 0, "Board Ref", "", lang::CanBoardRef},
    {&N::applicationRef, kBit, 6, 5, 0, "Application Ref", "", lang::CanApplicationRef},
};

using F = FactoryValues;
inline constexpr Descriptor<F> kFactory[] = {
    {&F::qSimulation, kScaledI24, 1, 1000, 100000, "Q Simulation", "", lang::FacQSimulation, number("%.3f", -999.999, 999.999)},
    {&F::jitterQ, kScaledU8, 4, 1, 10, "Jeeter Q", "%", lang::FacJeeterQ, number("%.0f", 0, 100)},
    {&F::maxGain, kScaledU8, 39, 1, 80, "Max Gain", "dB", lang::FacMaxGain, number("%.0f", 0, 80)},
    {&F::coefExtP, kScaledU8, 38, 10, 10, "Coef Ext.P.", "", lang::FacCoefExtP, number("%.1f", 0, 10)},
    {&F::cagTime, kScaledU8, 43, 1, 10, "CAG Time", "%", lang::FacCAGTime, number("%.0f", 1, 100)},
    {&F::txDelay, kScaledU8, 41, 1, 0, "TX Delay", "ms", lang::FacTXDelay, number("%.0f", 0, 100)},
    {&F::t0Probe1, kScaledU8, 7, 10, 0, "T0 SP1", "\xC2\xB5s", lang::FacT0SP1, number("%.1f", 0, 25.5)},
    {&F::angle1, kScaledU16, 5, 100, 0, "Angle SP1", "\xC2\xB0", lang::FacAngleSP1, number("%.2f", 0, 90)},
    {&F::t0Probe2, kScaledU8, 11, 10, 0, "T0 SP2", "\xC2\xB5s", lang::FacT0SP2, number("%.1f", 0, 25.5)},
    {&F::angle2, kScaledU16, 9, 100, 0, "Angle SP2", "\xC2\xB0", lang::FacAngleSP2, number("%.2f", 0, 90)},
    {&F::qRef, kScaledU16, 13, 1, 0, "Q Ref.", "", lang::FacQRef, number("%.0f", 0, 10000)},
    {&F::coef0, kScaledU16, 16, 1000, 1000, "Coef 0%", "", lang::FacCoef0, number("%.3f", 0, 65)},
    {&F::coef10, kScaledU16, 18, 1000, 1000, "Coef 10%", "", lang::FacCoef10, number("%.3f", 0, 65)},
    {&F::coef20, kScaledU16, 20, 1000, 1000, "Coef 20%", "", lang::FacCoef20, number("%.3f", 0, 65)},
    {&F::coef30, kScaledU16, 22, 1000, 1000, "Coef 30%", "", lang::FacCoef30, number("%.3f", 0, 65)},
    {&F::coef40, kScaledU16, 24, 1000, 1000, "Coef 40%", "", lang::FacCoef40, number("%.3f", 0, 65)},
    {&F::coef50, kScaledU16, 26, 1000, 1000, "Coef 50%", "", lang::FacCoef50, number("%.3f", 0, 65)},
    {&F::coef60, kScaledU16, 28, 1000, 1000, "Coef 60%", "", lang::FacCoef60, number("%.3f", 0, 65)},
    {&F::coef70, kScaledU16, 30, 1000, 1000, "Coef 70%", "", lang::FacCoef70, number("%.3f", 0, 65)},
    {&F::coef80, kScaledU16, 32, 1000, 1000, "Coef 80%", "", lang::FacCoef80, number("%.3f", 0, 65)},
    {&F::coef90, kScaledU16, 34, 1000, 1000, "Coef 90%", "", lang::FacCoef90, number("%.3f", 0, 65)},
    {&F::coef100, kScaledU16, 36, 1000, 1000, "Coef 100%", "", lang::FacCoef100, number("%.3f", 0, 65)},
    {&F::language, kByte, 40, 0, 0, "Language", "", lang::FacLanguage, choice(lang::ListInstrumentLanguage)},
    {&F::function, kByte, 0, 0, 0, "Function", "", lang::FacFunction, choice(lang::ListFunction)},
    {&F::txRxMode, kByte, 42, 0, 0, "TX/RX Mode", "", lang::FacTXRXMode, choice(lang::ListTxRxMode)},
    {&F::frequency1, kByte, 8, 0, 0, "Frequency SP1", "", lang::FacFrequencySP1, choice(lang::ListFrequency)},
    {&F::frequency2, kByte, 12, 0, 0, "Frequency SP2", "", lang::FacFrequencySP2, choice(lang::ListFrequency)},
    {&F::qRefUnit, kByte, 15, 0, 3, "Q Ref. unit", "", lang::FacQRefUnit, choice(lang::ListFlowUnit)},
};

using K = ClockValues;
inline constexpr Descriptor<K> kClock[] = {
    {&K::year, kByte, 0, 0, 0, "Year minus 2000", "", {"Année moins 2000", "Year minus 2000"}},
    {&K::month, kByte, 1, 0, 0, "Month", "", {"Mois", "Month"}},
    {&K::day, kByte, 2, 0, 0, "Day of month", "", {"Jour", "Day of month"}},
    {&K::hour, kByte, 3, 0, 0, "Hour", "", {"Heure", "Hour"}},
    {&K::minute, kByte, 4, 0, 0, "Minute", "", {"Minute", "Minute"}},
    {&K::second, kByte, 5, 0, 0, "Second", "", {"Seconde", "Second"}},
};

using R = MakerValues;
inline constexpr Descriptor<R> kMaker[] = {
    {&R::ref1, kScaledU8, 0, 1, 1, "Ref (first part)", "", {"Ref (1re partie)", "Ref (first part)"}, number("%02.0f", 1, 52)},
    {&R::ref2, kScaledU8, 1, 1, 94, "Ref (second part)", "", {"Ref (2e partie)", "Ref (second part)"}, number("%02.0f", 0, 99)},
    {&R::ref3, kScaledU16, 2, 1, 1, "Ref (third part)", "", {"Ref (3e partie)", "Ref (third part)"}, number("%05.0f", 0, 65535)},
    {&R::points4mA, kScaledU16, 6, 1, 11000, "Pts 4mA", "", lang::MakPts4mA, number("%5.0f", 8000, 13000)},
    {&R::points20mA, kScaledU16, 8, 1, 55000, "Pts 20mA", "", lang::MakPts20mA, number("%5.0f", 52000, 57000)},
};

}  // namespace tables

inline constexpr DescriptorTable<MeasurementValues> kMeasurementTable{tables::kMeasurement};
inline constexpr DescriptorTable<CalibrationValues> kCalibrationTable{tables::kCalibration};
inline constexpr DescriptorTable<CanValues> kCanTable{tables::kCan};
inline constexpr DescriptorTable<FactoryValues> kFactoryTable{tables::kFactory};
inline constexpr DescriptorTable<ClockValues> kClockTable{tables::kClock};
inline constexpr DescriptorTable<MakerValues> kMakerTable{tables::kMaker};

static_assert(rowsFitApart(kMeasurementTable, kMeasurementBlock.imageSize()));
static_assert(rowsFitApart(kCalibrationTable, kCalibrationBlock.imageSize()));
static_assert(rowsFitApart(kCanTable, kCanBlock.imageSize()));
static_assert(rowsFitApart(kFactoryTable, kFactoryBlock.imageSize()));
static_assert(rowsFitApart(kClockTable, kClockBlock.imageSize()));
static_assert(rowsFitApart(kMakerTable, kMakerBlock.imageSize()));

// A group's table, for lookups by member.
constexpr DescriptorTable<MeasurementValues> descriptorsOf(const MeasurementValues*) { return kMeasurementTable; }
constexpr DescriptorTable<CalibrationValues> descriptorsOf(const CalibrationValues*) { return kCalibrationTable; }
constexpr DescriptorTable<CanValues> descriptorsOf(const CanValues*) { return kCanTable; }
constexpr DescriptorTable<FactoryValues> descriptorsOf(const FactoryValues*) { return kFactoryTable; }
constexpr DescriptorTable<ClockValues> descriptorsOf(const ClockValues*) { return kClockTable; }
constexpr DescriptorTable<MakerValues> descriptorsOf(const MakerValues*) { return kMakerTable; }

}  // namespace vantor
