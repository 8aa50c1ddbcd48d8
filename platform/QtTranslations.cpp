#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace vantor {

bool QtTranslations::apply(int language)
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
    m_installed = false;
    if (language == 1)
        return true;
    if (!m_translator.load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    m_installed = QCoreApplication::installTranslator(&m_translator);
    return m_installed;
}

}  // namespace vantor
