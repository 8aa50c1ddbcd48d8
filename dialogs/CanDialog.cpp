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

// The template's captions "A" to "V" give way to the rows' names when the dialog opens.
constexpr CheckBinding kChecks[] = {
    bindCheck<&N::flow>(1232), bindCheck<&N::speed>(1233), bindCheck<&N::t1>(1234),
    bindCheck<&N::t2>(1235), bindCheck<&N::totFormat>(1236), bindCheck<&N::qUnit>(1237),
    bindCheck<&N::khType>(1238), bindCheck<&N::fault>(1239), bindCheck<&N::velocity>(1241),
    bindCheck<&N::kh>(1242), bindCheck<&N::deltaT>(1243), bindCheck<&N::time>(1245),
    bindCheck<&N::dateTime>(1249), bindCheck<&N::probe>(1252), bindCheck<&N::probeType>(1254),
    bindCheck<&N::probeDistance>(1256), bindCheck<&N::gain>(1257), bindCheck<&N::signalQuality>(1259),
    bindCheck<&N::softRef1>(1260), bindCheck<&N::softRef2>(1261), bindCheck<&N::boardRef>(1263),
    bindCheck<&N::applicationRef>(1265),
};

const ParameterForm kForm{&templates::kCan, CanCaption, &forms::kCan, controlIn<kControls>, kLabels, kChecks, PrintNameCan};

}  // namespace

const ParameterForm& CanDialog::form() { return kForm; }

CanDialog::CanDialog(const DialogContext& context, QWidget* owner) : ParameterDialog(kForm, context, owner) {}

}  // namespace vantor
