#include "MakerDialog.h"

#include "LanguageTables.h"
#include "Templates.h"

namespace vantor {

namespace {

using namespace lang;

using R = MakerValues;
constexpr ControlBinding<R> kControls[] = {
    {1219, &R::ref1}, {1221, &R::ref2}, {1223, &R::ref3},
    {1227, &R::points4mA}, {1231, &R::points20mA},
};

constexpr LabelBinding kLabels[] = {{1218, MakRef}, {1225, MakPts4mA}, {1229, MakPts20mA}};

const ParameterForm kForm{&templates::kMaker, MakCaption, &forms::kMaker, controlIn<kControls>, kLabels, {}, PrintNameMaker};

}  // namespace

const ParameterForm& MakerDialog::form() { return kForm; }

MakerDialog::MakerDialog(const DialogContext& context, QWidget* owner) : ParameterDialog(kForm, context, owner) {}

}  // namespace vantor
