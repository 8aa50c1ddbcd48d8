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
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyleOptionComboBox>

#include <functional>
#include <map>

using namespace vantor;

namespace {

// The texts of a control that do not fit the room it gives them.
std::vector<std::string> cutTexts(QWidget* w)
{
    std::vector<std::string> cut;
    const auto check = [&](const QString& text, int room) {
        if (w->fontMetrics().horizontalAdvance(text) > room)
            cut.push_back(text.toStdString());
    };
    if (auto* label = qobject_cast<QLabel*>(w); label && label->frameShape() == QFrame::NoFrame) {
        check(label->text(), label->contentsRect().width());
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i)
            check(combo->itemText(i), field.width());
    } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QPushButton*>(w)) {
        const auto* button = static_cast<QAbstractButton*>(w);
        if (!button->isHidden() && button->sizeHint().width() > button->width())
            cut.push_back(button->text().toStdString());
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        check(group->title(), group->width() - 16);
    }
    return cut;
}

// The keys of a menu's entries that more than one entry takes.
std::vector<std::string> sharedKeys(const QWidget* menu)
{
    std::map<QChar, int> taken;
    for (const QAction* action : menu->actions())
        if (const qsizetype at = action->text().indexOf('&'); at >= 0 && at + 1 < action->text().size())
            ++taken[action->text().at(at + 1).toLower()];
    std::vector<std::string> shared;
    for (const auto& [key, count] : taken)
        if (count > 1)
            shared.push_back(QString(key).toStdString());
    return shared;
}

void expectEverythingFits(QDialog& dialog, const std::string& name)
{
    dialog.show();
    EXPECT_LE(dialog.frameGeometry().width(), 1024) << name;
    EXPECT_LE(dialog.frameGeometry().height(), 768) << name;
    for (const QWidget* menu : dialog.findChildren<QWidget*>()) {
        if (qobject_cast<const QMenu*>(menu) || qobject_cast<const QMenuBar*>(menu)) {
            EXPECT_EQ(sharedKeys(menu), std::vector<std::string>{}) << name << ": keys taken twice in a menu";
        }
    }
    for (QWidget* w : dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        for (const std::string& text : cutTexts(w))
            ADD_FAILURE() << name << ", control " << w->property("controlId").toInt() << ": \"" << text << "\" is cut";
}

using TextFitTest = test::AppFixture;

}  // namespace

TEST_F(TextFitTest, EveryTextFitsEveryWindowInBothLanguages)
{
    program.state.settings.currentFolder = dir.path().string() + "/";
    program.state.access = {true, true, true, true};
    for (const FileType* type : {&filetypes::kCalibration, &filetypes::kFactory, &filetypes::kMaker, &filetypes::kCan})
        writeDefaultSettingsFile(dir.file(std::string("unit.") + type->extension), *type);
    test::writeBytes(dir.file("unit.mes"), test::lengthWord(kMeasurementFrameSize) + test::frame(test::example()));
    // Opens a dialog, on unit.<extension> for those shown on a file.
    const auto opened = [&]<typename Dialog>(const char* extension, auto&... arguments) -> std::unique_ptr<QDialog> {
        program.state.file.fileMode = true;
        program.state.file.currentFilePath = dir.file(std::string("unit.") + extension);
        auto dialog = std::make_unique<Dialog>(arguments..., nullptr);
        if constexpr (std::is_same_v<decltype(dialog->opening()), bool>)
            EXPECT_TRUE(dialog->opening()) << extension;
        else
            dialog->opening();
        return dialog;
    };
    DialogContext context = program.context();
    const std::vector<std::function<std::unique_ptr<QDialog>()>> windows = {
        [&] { return std::make_unique<MainWindow>(program); },
        [&] { return opened.operator()<OptionsDialog>("", program); },
        [&] { return std::make_unique<AboutBox>(program, nullptr); },
        [&] { return opened.operator()<CalibrationDialog>("eta", context); },
        [&] { return opened.operator()<FactoryDialog>("rus", context); },
        [&] { return opened.operator()<MakerDialog>("hdm", context); },
        [&] { return opened.operator()<CanDialog>("can", context); },
        [&] { return opened.operator()<MeasurementDialog>("mes", context); },
        [&] { return std::make_unique<InitialisationDialog>(context, nullptr); },
        [&] { return prompts.chooseNextFile(dir.file("unit.prn")), opened.operator()<ConvertFileDialog>("mes", context); },
    };
    for (int language : {kFrench, kEnglish}) {
        program.state.settings.language = language;
        for (const auto& open : windows) {
            const std::unique_ptr<QDialog> dialog = open();
            expectEverythingFits(*dialog, dialog->windowTitle().toStdString() + (language == kFrench ? " (French)" : " (English)"));
        }
        // The language switched with the options open: relabelled texts fit too.
        OptionsDialog options(program, nullptr);
        options.opening();
        options.show();
        test::choose(options.control<QComboBox>(1001), 1 - language);
        expectEverythingFits(options, "options, switched from " + std::to_string(language));
        program.state.settings.language = language;
    }
}
