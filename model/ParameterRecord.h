// The decoded values of every block, one group per block.
#pragma once

#include "Descriptor.h"

#include <cstdint>

namespace vantor {

struct MeasurementValues {
    float flow = 0;
    float speed = 0;
    int32_t totalizer1 = 0;
    int32_t totalizer2 = 0;
    uint8_t totalizer1Sign = 0;
    uint8_t totalizer2Sign = 0;
    uint8_t totalizer1Unit = 0;
    uint8_t totalizer2Unit = 0;
    int32_t flowUnit = 0;
    int32_t khMode = 0;
    int32_t faultState = 0;
    float velocity = 0;
    float kh = 0;
    float deltaT = 0;
    float time = 0;
    int32_t month = 0;
    int32_t year = 0;  // minus 2000
    int32_t hour = 0;
    int32_t day = 0;
    int32_t second = 0;
    int32_t minute = 0;
    int32_t probeIndex = 0;
    int32_t notDisplayed = 0;
    float probeDistance = 0;
    float gain = 0;
    float signalQuality = 0;
    Text softwareVersion{};
    int32_t hardware = 0;
    int32_t model = 0;
};

struct CalibrationValues {
    int32_t probeMounting = 0;
    float extDiameter = 0;
    int32_t qUnit = 0;
    int32_t khType = 0;
    float kh = 0;
    float length = 0;
    float axialDistance = 0;
    int32_t gainType = 0;
    float gain = 0;
    float q0 = 0;
    float viscosity = 0;
    float roughness = 0;
    int32_t material = 0;
    float thickness = 0;
    int32_t product = 0;
    float c0 = 0;
    float deltaC = 0;
    float filter = 0;
    float memory = 0;
    float maxQ = 0;
    int32_t totalizer1 = 0;
    int32_t pulseWeight = 0;
    int32_t totalizer2 = 0;
    int32_t relay1 = 0;
    int32_t relay2 = 0;
    float thresholdR1 = 0;
    float thresholdR2 = 0;
    int32_t probe = 0;
    int32_t pulseWidth = 0;
    float cutOff = 0;
    int32_t polarity = 0;
    float jbus = 0;
    int32_t stopMeasurementOn = 0;
    float usImpulse = 0;
};

struct CanValues {
    float node = 0;
    float type = 0;
    int32_t frequency = 0;
    float txTimer = 0;
    // The TX group: what the instrument sends on the bus.
    uint8_t flow = 0, speed = 0, t1 = 0, t2 = 0, totFormat = 0, qUnit = 0, khType = 0, fault = 0;
    uint8_t velocity = 0, kh = 0, deltaT = 0, time = 0, dateTime = 0, probe = 0, probeType = 0, probeDistance = 0;
    uint8_t gain = 0, signalQuality = 0, softRef1 = 0, softRef2 = 0, boardRef = 0, applicationRef = 0;
};

struct FactoryValues {
    int32_t function = 0;
    float qSimulation = 0;
    float jitterQ = 0;
    float angle1 = 0;
    float t0Probe1 = 0;
    int32_t frequency1 = 0;
    float angle2 = 0;
    float t0Probe2 = 0;
    int32_t frequency2 = 0;
    float qRef = 0;
    int32_t qRefUnit = 0;
    float coef0 = 0, coef10 = 0, coef20 = 0, coef30 = 0, coef40 = 0, coef50 = 0;
    float coef60 = 0, coef70 = 0, coef80 = 0, coef90 = 0, coef100 = 0;
    float coefExtP = 0;
    float maxGain = 0;
    int32_t language = 0;
    float txDelay = 0;
    int32_t txRxMode = 0;
    float cagTime = 0;
};

struct ClockValues {
    int32_t year = 0;  // minus 2000
    int32_t month = 0;
    int32_t day = 0;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
};

struct MakerValues {
    float ref1 = 0;
    float ref2 = 0;
    float ref3 = 0;
    float points4mA = 0;
    float points20mA = 0;
};

struct ParameterRecord {
    MeasurementValues measurement;
    CalibrationValues calibration;
    CanValues can;
    FactoryValues factory;
    ClockValues clock;
    MakerValues maker;
};

}  // namespace vantor
