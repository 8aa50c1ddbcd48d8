#include "AboutBox.h"

#include "LanguageTables.h"
#include "Program.h"
#include "Templates.h"

namespace vantor {

AboutBox::AboutBox(const Program& program, QWidget* owner)
    : TemplateDialog(templates::kAbout, owner, false)  // OK, Enter and Escape close it
{
    const VersionStrings& v = program.versions;
    const int language = program.state.settings.language;
    centreOn(owner);
    setWindowTitle(QString::fromUtf8(lang::AboutPrefix.text(language)) + QString::fromStdString(v.internalName));
    // The version resource describes the program in English only.
    setControlText(1248, QString::fromUtf8(lang::AboutDescription.text(language)));
    setControlText(1253, QString::fromStdString(v.fileVersion));
    setControlText(1251, QString::fromStdString(v.legalCopyright));
    setControlText(1255, QString::fromStdString(v.companyName));
}

}  // namespace vantor
