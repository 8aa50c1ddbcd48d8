// Qt's own texts (file dialogs, message box buttons, print prompts) in the
// program's language, from the translations the system installs for Qt.
#pragma once

#include <QTranslator>

namespace vantor {

class QtTranslations {
public:
    // 0 French, 1 English (Qt's own language, which needs no translation).
    // False when the system has no French translation for Qt.
    bool apply(int language);

private:
    QTranslator m_translator;
    bool m_installed = false;
};

}  // namespace vantor
