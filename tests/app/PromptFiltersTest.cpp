// Every file prompt of the program, as the platform's file dialog shows its
// filter: each entry names its patterns once.
#include "AppFixture.h"
#include "ConvertFileDialog.h"
#include "OptionsDialog.h"
#include "QtPrompts.h"
#include "FileDialogs.h"
#include "SettingsFiles.h"

#include <QStringList>

#include <fstream>

using namespace vantor;

namespace {

class PromptFiltersTest : public test::AppFixture {
protected:
    // The filters the prompts were asked with, in both languages; every prompt cancelled.
    std::vector<std::string> askedFilters()
    {
        program.state.access = {true, true, true, true};
        const std::string measurement = dir.file("run.mes");
        std::string frame = {77, 0};
        frame.resize(2 + 77, '\0');
        std::ofstream(measurement, std::ios::binary) << frame;
        for (int language : {kFrench, kEnglish}) {
            program.state.settings.language = language;
            const DialogContext context = program.context();
            for (const FileType* type : {&filetypes::kMeasurement, &filetypes::kCalibration, &filetypes::kCan,
                                         &filetypes::kFactory, &filetypes::kMaker}) {
                askSaveFile(context, nullptr, *type);
                askCompareFile(context, nullptr, *type);
            }
            FileRequest open;
            open.filter = openFilter(program.state.access, language);
            prompts.openFileName(open);
            OptionsDialog options(program, nullptr);
            options.browse();
            program.state.file.currentFilePath = measurement;
            ConvertFileDialog convert(context, nullptr);
            convert.opening();
        }
        std::vector<std::string> filters;
        for (const FileRequest& r : prompts.fileRequests())
            filters.push_back(r.filter);
        return filters;
    }
};

}  // namespace

TEST_F(PromptFiltersTest, EachEntryNamesItsPatternsOnce)
{
    const std::vector<std::string> filters = askedFilters();
    ASSERT_EQ(filters.size(), 2u * 13);
    for (const std::string& filter : filters) {
        const QString shown = QString::fromStdString(qtFileFilter(filter));
        for (const QString& entry : shown.split(QStringLiteral(";;"))) {
            EXPECT_EQ(entry.count('('), 1) << entry.toStdString();
            const QString patterns = entry.section('(', 1).chopped(1);
            for (const QString& pattern : patterns.split(' '))
                EXPECT_EQ(entry.count(pattern), 1) << pattern.toStdString() << " in " << entry.toStdString();
        }
    }
    EXPECT_EQ(qtFileFilter("Calibration File (*.eta)|*.eta|"), "Calibration File (*.eta)");
    EXPECT_EQ(qtFileFilter("(*.*)|*.mes;*.eta|Measurement File (*.mes)|*.mes|"),
              "(*.mes *.eta);;Measurement File (*.mes)");
    EXPECT_EQ(qtFileFilter("Fichier de Sortie(*.prn)|*.prn|"), "Fichier de Sortie (*.prn)");
}
