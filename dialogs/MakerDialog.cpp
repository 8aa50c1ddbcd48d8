#include "MakerDialog.h"

#include "LanguageTables.h"
#include "Templates.h"

namespace vantor {

namespace {

using namespace lang;

constexpr LabelBinding kLabels[] = {{1218, MakRef}, {1225, MakPts4mA}, {1229, MakPts20mA}};

#define NUMBER(id, field, format, low, high) \
    {id, [](ProgramState& s) -> float& { return s.record.maker.field; }, format, low, high}
constexpr NumberBinding kNumbers[] = {
    // The reference's three parts stand side by side with their leading zeros.
    NUMBER(1219, ref1, "%02.0f", 1, 52),
    NUMBER(1221, ref2, "%02.0f", 0, 99),
    NUMBER(1223, ref3, "%05.0f", 0, 65535),
    NUMBER(1227, points4mA, "%5.0f", 8000, 13000),
    NUMBER(1231, points20mA, "%5.0f", 52000, 57000),
};
#undef NUMBER

constexpr ParameterForm kForm{&templates::kMaker, MakCaption, &filetypes::kMaker, kLabels, kNumbers, {}, {}, {}, {},
                              "Hydromast"};

}  // namespace

const ParameterForm& MakerDialog::form() { return kForm; }

MakerDialog::MakerDialog(const DialogContext& context, QWidget* owner) : ParameterDialog(kForm, context, owner) {}

}  // namespace vantor
