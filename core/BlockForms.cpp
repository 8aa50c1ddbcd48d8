#include "BlockForms.h"

namespace vantor {

namespace {

// Calibration

using C = CalibrationValues;
constexpr NumberParameter kCalibrationNumbers[] = {
    numberOf<&C::extDiameter>(), numberOf<&C::length>(),      numberOf<&C::axialDistance>(),
    numberOf<&C::gain>(),        numberOf<&C::usImpulse>(),   numberOf<&C::thickness>(),
    numberOf<&C::c0>(),          numberOf<&C::deltaC>(),      numberOf<&C::q0>(),
    numberOf<&C::cutOff>(),      numberOf<&C::maxQ>(),        numberOf<&C::kh>(),
    numberOf<&C::viscosity>(),   numberOf<&C::roughness>(),   numberOf<&C::filter>(),
    numberOf<&C::memory>(),      numberOf<&C::thresholdR1>(), numberOf<&C::thresholdR2>(),
    numberOf<&C::jbus>(),
};
constexpr ChoiceParameter kCalibrationChoices[] = {
    choiceOf<&C::probe>(),      choiceOf<&C::polarity>(),   choiceOf<&C::material>(),
    choiceOf<&C::probeMounting>(), choiceOf<&C::stopMeasurementOn>(), choiceOf<&C::gainType>(),
    choiceOf<&C::product>(),    choiceOf<&C::qUnit>(),      choiceOf<&C::khType>(),
    choiceOf<&C::totalizer1>(), choiceOf<&C::totalizer2>(), choiceOf<&C::pulseWeight>(),
    choiceOf<&C::pulseWidth>(), choiceOf<&C::relay1>(),     choiceOf<&C::relay2>(),
};

// Factory

using F = FactoryValues;
constexpr NumberParameter kFactoryNumbers[] = {
    numberOf<&F::qSimulation>(), numberOf<&F::jitterQ>(),  numberOf<&F::maxGain>(), numberOf<&F::coefExtP>(),
    numberOf<&F::cagTime>(),     numberOf<&F::txDelay>(),  numberOf<&F::t0Probe1>(), numberOf<&F::angle1>(),
    numberOf<&F::t0Probe2>(),    numberOf<&F::angle2>(),   numberOf<&F::qRef>(),     numberOf<&F::coef0>(),
    numberOf<&F::coef10>(),      numberOf<&F::coef20>(),   numberOf<&F::coef30>(),   numberOf<&F::coef40>(),
    numberOf<&F::coef50>(),      numberOf<&F::coef60>(),   numberOf<&F::coef70>(),   numberOf<&F::coef80>(),
    numberOf<&F::coef90>(),      numberOf<&F::coef100>(),
};
constexpr ChoiceParameter kFactoryChoices[] = {
    choiceOf<&F::language>(),   choiceOf<&F::function>(),   choiceOf<&F::txRxMode>(),
    choiceOf<&F::frequency1>(), choiceOf<&F::frequency2>(), choiceOf<&F::qRefUnit>(),
};

// Maker

using R = MakerValues;
constexpr NumberParameter kMakerNumbers[] = {
    // The reference's three parts stand side by side with their leading zeros.
    numberOf<&R::ref1>(), numberOf<&R::ref2>(), numberOf<&R::ref3>(),
    numberOf<&R::points4mA>(), numberOf<&R::points20mA>(),
};

// CAN

using N = CanValues;
constexpr NumberParameter kCanNumbers[] = {
    numberOf<&N::node>(), numberOf<&N::type>(), numberOf<&N::txTimer>(),  // tenths of a second
};
constexpr ChoiceParameter kCanChoices[] = {choiceOf<&N::frequency>()};

}  // namespace

namespace forms {
const BlockForm kCalibration{&filetypes::kCalibration, kCalibrationNumbers, kCalibrationChoices, true};
const BlockForm kFactory{&filetypes::kFactory, kFactoryNumbers, kFactoryChoices, true};
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
