// Every window of the program in both languages, as the user sees it: no text
// wider than its control, no window larger than a 1024 x 768 screen.
#include "AboutBox.h"
#include "AppFixture.h"
#include "CalibrationDialog.h"
#include "CanDialog.h"
#include "ConvertFileDialog.h"
#include "FactoryDialog.h"
#include "Initialisation.h"
#include "MainWindow.h"
#include "MakerDialog.h"
#include "MeasurementDialog.h"
#include "MeasurementFrames.h"
#include "OptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionComboBox>

#include <functional>
#include <memory>

using namespace vantor;

namespace {

// The texts of a control that do not fit it, each with the room it had.
std::vector<std::string> cutTexts(QWidget* w)
{
    std::vector<std::string> cut;
    const auto check = [&](const QString& text, int room, const QFontMetrics& metrics) {
        if (!text.isEmpty() && metrics.horizontalAdvance(text) > room)
            cut.push_back("\"" + text.toStdString() + "\" (" + std::to_string(metrics.horizontalAdvance(text)) +
                          " px in " + std::to_string(room) + ")");
    };
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->frameShape() == QFrame::NoFrame)
            check(label->text(), label->contentsRect().width(), label->fontMetrics());
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const int room =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
        for (int i = 0; i < combo->count(); ++i)
            check(combo->itemText(i), room, combo->fontMetrics());
    } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
        if (box->sizeHint().width() > box->width())
            cut.push_back("\"" + box->text().toStdString() + "\"");
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        if (!button->text().isEmpty() && !button->isHidden() && button->sizeHint().width() > button->width())
            cut.push_back("\"" + button->text().toStdString() + "\"");
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        check(group->title(), group->width() - 16, group->fontMetrics());
    }
    return cut;
}

class TextFitTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        program.state.settings.currentFolder = dir.path().string() + "/";
        for (const FileType* type : {&filetypes::kCalibration, &filetypes::kFactory, &filetypes::kMaker, &filetypes::kCan})
            writeDefaultSettingsFile(dir.file(std::string("unit.") + type->extension), *type);
        test::writeBytes(dir.file("run.mes"), test::lengthWord(kMeasurementFrameSize) + test::frame(test::example()));
    }

    // Opens a parameter or measurement dialog on its file.
    template <typename Dialog>
    std::unique_ptr<QDialog> onFile(const char* name)
    {
        program.state.file.fileMode = true;
        program.state.file.currentFilePath = dir.file(name);
        auto dialog = std::make_unique<Dialog>(program.context(), nullptr);
        EXPECT_TRUE(dialog->opening()) << name;
        return dialog;
    }

    void expectEverythingFits(QDialog& dialog, const std::string& name)
    {
        dialog.show();
        EXPECT_LE(dialog.frameGeometry().width(), 1024) << name;
        EXPECT_LE(dialog.frameGeometry().height(), 768) << name;
        for (QWidget* w : dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            for (const std::string& text : cutTexts(w))
                ADD_FAILURE() << name << ", control " << w->property("controlId").toInt() << ": " << text << " is cut";
        dialog.hide();
    }
};

}  // namespace

TEST_F(TextFitTest, EveryTextFitsEveryWindowInBothLanguages)
{
    program.state.access = {true, true, true, true};
    for (int language : {kFrench, kEnglish}) {
        program.state.settings.language = language;
        const std::string in = language == kFrench ? " (French)" : " (English)";
        const std::vector<std::pair<std::string, std::function<std::unique_ptr<QDialog>()>>> windows = {
            {"main window", [&] { return std::make_unique<MainWindow>(program); }},
            {"options",
             [&] {
                 auto options = std::make_unique<OptionsDialog>(program, nullptr);
                 options->opening();
                 return options;
             }},
            {"about", [&] { return std::make_unique<AboutBox>(program, nullptr); }},
            {"calibration", [&] { return onFile<CalibrationDialog>("unit.eta"); }},
            {"factory", [&] { return onFile<FactoryDialog>("unit.rus"); }},
            {"maker", [&] { return onFile<MakerDialog>("unit.hdm"); }},
            {"CAN", [&] { return onFile<CanDialog>("unit.can"); }},
            {"measurement", [&] { return onFile<MeasurementDialog>("run.mes"); }},
            {"initialisation", [&] { return std::make_unique<InitialisationDialog>(program.context(), nullptr); }},
            {"conversion",
             [&] {
                 program.state.file.currentFilePath = dir.file("run.mes");
                 prompts.chooseNextFile(dir.file("run.prn"));
                 auto convert = std::make_unique<ConvertFileDialog>(program.context(), nullptr);
                 EXPECT_TRUE(convert->opening());
                 return convert;
             }},
        };
        for (const auto& [name, open] : windows) {
            std::unique_ptr<QDialog> dialog = open();
            expectEverythingFits(*dialog, name + in);
        }
    }
}
