// Which fields the calibration and factory dialogs show, as the user's choices
// change them: each rule driven through its own control.
#include "CalibrationDialog.h"
#include "DialogFixture.h"
#include "FactoryDialog.h"

#include <initializer_list>

using namespace vantor;

namespace {

// A choice (index into a list) or a number typed, then the fields it shows and hides.
struct Step {
    int control;
    int index;           // -1: type `typed` instead
    const char* typed;
    std::initializer_list<int> shown;
    std::initializer_list<int> hidden;
};

template <typename Dialog>
class VisibilityRulesTest : public test::OpenDialogFixture<Dialog> {
protected:
    void walk(std::initializer_list<Step> steps)
    {
        this->open();
        for (const Step& step : steps) {
            if (step.index >= 0)
                test::choose(this->combo(step.control), step.index);
            else
                this->type(step.control, step.typed);
            const std::string what =
                std::to_string(step.control) + " at " + (step.index >= 0 ? std::to_string(step.index) : step.typed);
            for (int id : step.shown)
                EXPECT_TRUE(this->visible(id)) << id << " shown after " << what;
            for (int id : step.hidden)
                EXPECT_FALSE(this->visible(id)) << id << " hidden after " << what;
        }
    }
};

using CalibrationRules = VisibilityRulesTest<CalibrationDialog>;
using FactoryRules = VisibilityRulesTest<FactoryDialog>;

constexpr std::initializer_list<int> kStraightProbe = {1078, 1079, 1080, 1069, 1070, 1071};
constexpr std::initializer_list<int> kLiquidProduct = {1076, 1074, 1075, 1077, 1072, 1073};
constexpr std::initializer_list<int> kManualKh = {1033, 1117};
constexpr std::initializer_list<int> kAutomaticKh = {1107, 1109, 1111, 1113, 1114, 1115};
constexpr std::initializer_list<int> kPulses = {1128, 1129};
constexpr std::initializer_list<int> kThreshold1 = {1134, 1140};
constexpr std::initializer_list<int> kThreshold2 = {1136, 1142};

}  // namespace

TEST_F(CalibrationRules, ProbeProductKhAndRelaysShowTheirFields)
{
    // Probe 2 of the catalogue is mounted at an angle; the others are not.
    link.markProbeCatalogueRead();
    for (int i = 0; i < kProbeCount; ++i)
        state.catalogue.names[static_cast<size_t>(i)] = "SP" + std::to_string(i);
    state.catalogue.angles[2] = 45;
    walk({
        {1054, 2, "", {}, kStraightProbe},
        {1054, 0, "", kStraightProbe, {}},
        {1064, 1, "", kLiquidProduct, {}},
        {1064, 0, "", {}, kLiquidProduct},
        {1116, 1, "", kManualKh, kAutomaticKh},
        {1116, 0, "", kAutomaticKh, kManualKh},
        // Relay types 1 and 2 count pulses, 5 compares with a threshold.
        {1131, 0, "", {}, {1128, 1129, 1134, 1140}},
        {1133, 0, "", {}, {1128, 1129, 1136, 1142}},
        {1131, 1, "", kPulses, kThreshold1},
        {1131, 5, "", kThreshold1, kPulses},
        {1133, 2, "", {1128, 1129, 1134, 1140}, kThreshold2},
        {1133, 5, "", kThreshold2, kPulses},
    });
}

TEST_F(FactoryRules, SimulationAndEachProbesT0ShowTheirFields)
{
    walk({
        {1161, 0, "", {}, {1164, 1165, 1166, 1167, 1098}},
        {1161, 1, "", {1164, 1165, 1166, 1167, 1098}, {}},
        {1177, -1, "0", {}, {1178, 1179, 1108, 1162, 1163}},
        {1177, -1, "12.5", {1178, 1179, 1108, 1162, 1163}, {}},
        {1184, -1, "0", {1178, 1179}, {1185, 1186, 1112, 1181, 1182}},
        {1184, -1, "3", {1185, 1186, 1112, 1181, 1182}, {}},
    });
}
