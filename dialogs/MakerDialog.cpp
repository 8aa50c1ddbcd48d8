#include "MakerDialog.h"

#include "LanguageTables.h"
#include "Templates.h"

namespace vantor {

namespace {

using namespace lang;

constexpr LabelBinding kLabels[] = {{1218, MakRef}, {1225, MakPts4mA}, {1229, MakPts20mA}};

const ParameterForm kForm{&templates::kMaker, MakCaption, &forms::kMaker, kLabels, {}, PrintNameMaker};

}  // namespace

const ParameterForm& MakerDialog::form() { return kForm; }

MakerDialog::MakerDialog(const DialogContext& context, QWidget* owner) : ParameterDialog(kForm, context, owner) {}

}  // namespace vantor
