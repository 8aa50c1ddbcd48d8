#include "FactoryDialog.h"

#include "LanguageTables.h"
#include "Templates.h"

namespace vantor {

namespace {

using namespace lang;

using F = FactoryValues;
constexpr ControlBinding<F> kControls[] = {
    {1165, &F::qSimulation}, {1167, &F::jitterQ}, {1175, &F::maxGain},
    {1173, &F::coefExtP}, {1169, &F::cagTime}, {1171, &F::txDelay},
    {1177, &F::t0Probe1}, {1179, &F::angle1}, {1184, &F::t0Probe2},
    {1186, &F::angle2}, {1189, &F::qRef}, {1191, &F::coef0},
    {1193, &F::coef10}, {1195, &F::coef20}, {1197, &F::coef30},
    {1200, &F::coef40}, {1202, &F::coef50}, {1204, &F::coef60},
    {1206, &F::coef70}, {1208, &F::coef80}, {1210, &F::coef90},
    {1212, &F::coef100}, {1159, &F::language}, {1161, &F::function},
    {1215, &F::txRxMode}, {1163, &F::frequency1}, {1182, &F::frequency2},
    {1217, &F::qRefUnit},
};

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

const ParameterForm kForm{&templates::kFactory, FacCaption, &forms::kFactory, controlIn<kControls>, kLabels, {}, PrintNameFactory};

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
