// Qt's own texts (file dialogs, message box buttons, print prompts) in the
// program's language, from the translations the system installs for Qt, and
// the locale Qt's widgets write sizes, dates and file types with.
#pragma once

#include <QTranslator>

namespace vantor {

// Debian's French catalogue for Qt, and the few texts it lacks: Qt 6 asks for
// the file dialog's folder and drive types under a context the catalogue does
// not have (it still files them where Qt 5 asked).
class FrenchQtTexts : public QTranslator {
public:
    // False when the system has no French catalogue; the missing texts are answered all the same.
    bool loadCatalogue();
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }

private:
    QTranslator m_catalogue;
};

class QtTranslations {
public:
    // 0 French, 1 English (Qt's own language, which needs no translation).
    // False when the system has no French translation for Qt.
    bool apply(int language);

private:
    FrenchQtTexts m_translator;
    bool m_installed = false;
};

// The language last applied, for the texts Qt leaves to the program (a box
// without a caption); until then, that of the system.
int qtLanguage();

}  // namespace vantor
