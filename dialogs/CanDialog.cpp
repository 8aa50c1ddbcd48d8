#include "CanDialog.h"

#include "LanguageTables.h"
#include "Templates.h"

namespace vantor {

namespace {

using namespace lang;

using N = CanValues;
constexpr ControlBinding<N> kControls[] = {
    {1226, &N::node}, {1228, &N::type}, {1240, &N::txTimer},
    {1087, &N::frequency},
};

constexpr LabelBinding kLabels[] = {{1290, CanNumber}, {1291, CanType}, {1292, CanFrequency}, {1293, CanTXTimer}};

// The template's captions "A" to "V" give way to these when the dialog opens.
#define FLAG(id, field, caption) {id, [](ProgramState& s) -> uint8_t& { return s.record.can.field; }, caption}
constexpr CheckBinding kChecks[] = {
    FLAG(1232, flow, MeasFlow),
    FLAG(1233, speed, MeasSpeed),
    FLAG(1234, t1, MeasT1),
    FLAG(1235, t2, MeasT2),
    FLAG(1236, totFormat, CanTotFormat),
    FLAG(1237, qUnit, CalQUnit),
    FLAG(1238, khType, CalKHType),
    FLAG(1239, fault, CanFault),
    FLAG(1241, velocity, MeasVelocity),
    FLAG(1242, kh, CalKH),
    FLAG(1243, deltaT, MeasDeltaT),
    FLAG(1245, time, MeasTime),
    FLAG(1249, dateTime, CanDateTime),
    FLAG(1252, probe, MeasProbe),
    FLAG(1254, probeType, CanProbeType),
    FLAG(1256, probeDistance, MeasDProbe),
    FLAG(1257, gain, MeasGain),
    FLAG(1259, signalQuality, MeasIQ),
    FLAG(1260, softRef1, CanSoftRef1),
    FLAG(1261, softRef2, CanSoftRef2),
    FLAG(1263, boardRef, CanBoardRef),
    FLAG(1265, applicationRef, CanApplicationRef),
};
#undef FLAG

const ParameterForm kForm{&templates::kCan, CanCaption, &forms::kCan, controlIn<kControls>, kLabels, kChecks, PrintNameCan};

}  // namespace

const ParameterForm& CanDialog::form() { return kForm; }

CanDialog::CanDialog(const DialogContext& context, QWidget* owner) : ParameterDialog(kForm, context, owner) {}

}  // namespace vantor
