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
#include "WindowsFont.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyleOptionComboBox>

#include <functional>
#include <set>

using namespace vantor;

namespace {

// Every text of the window fits the room its control gives it; each menu key is taken once.
void expectEverythingFits(QDialog& dialog, const std::string& name)
{
    dialog.show();
    EXPECT_TRUE(dialog.frameGeometry().width() <= 1024 && dialog.frameGeometry().height() <= 768) << name;
    for (const QWidget* menu : dialog.findChildren<QWidget*>()) {
        if (!qobject_cast<const QMenu*>(menu) && !qobject_cast<const QMenuBar*>(menu))
            continue;
        std::set<QChar> taken;
        for (const QAction* action : menu->actions()) {
            const QString text = action->text();
            const qsizetype at = text.indexOf('&');
            EXPECT_TRUE(at < 0 || at + 1 >= text.size() || taken.insert(text.at(at + 1).toLower()).second)
                << name << ": the key of " << text.toStdString() << " is taken twice in its menu";
        }
    }
    for (QWidget* w : dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const auto check = [&](const QString& text, int room) {
            EXPECT_LE(w->fontMetrics().horizontalAdvance(text), room)
                << name << ", control " << w->property("controlId").toInt() << ": \"" << text.toStdString() << "\" is cut";
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
            EXPECT_TRUE(button->isHidden() || button->sizeHint().width() <= button->width())
                << name << ", control " << w->property("controlId").toInt() << ": \"" << button->text().toStdString() << "\" is cut";
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            check(group->title(), group->width() - 16);
        }
    }
}

using TextFitTest = test::AppFixture;

}  // namespace

TEST_F(TextFitTest, EveryTextFitsEveryWindowInBothLanguages)
{
    if (const std::string why = test::withoutWindowsFont(); !why.empty())
        GTEST_SKIP() << why;
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
