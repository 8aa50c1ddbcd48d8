#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include <cstring>

namespace vantor {

namespace {

struct QtText {
    const char* context;
    const char* source;
    const char* french;
};

// The Type column of the file dialog (QAbstractFileIconProvider::type on Linux).
constexpr QtText kMissingTexts[] = {
    {"QAbstractFileIconProvider", "Folder", "Dossier"},
    {"QAbstractFileIconProvider", "Drive", "Disque"},
    {"QAbstractFileIconProvider", "Unknown", "Inconnu"},
};

// The system's locale when it speaks the program's language (the country's
// conventions stay), else that language's own. The file dialog takes the
// types of files from it (MIME comments) and, through QtPrompts, sizes and dates.
QLocale localeFor(int language)
{
    const QLocale system = QLocale::system();
    const QLocale::Language wanted = language == 1 ? QLocale::English : QLocale::French;
    const QLocale::Language spoken = system.language() == QLocale::C ? QLocale::English : system.language();
    return spoken == wanted ? system : QLocale(wanted);
}

}  // namespace

bool FrenchQtTexts::loadCatalogue()
{
    // The system's catalogue on Linux; on Windows the one built into the program.
    return m_catalogue.load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
           m_catalogue.load(QStringLiteral("qtbase_fr"), QStringLiteral(":/translations"));
}

// Called from the file dialog's gatherer thread too: reads constant data only.
QString FrenchQtTexts::translate(const char* context, const char* sourceText, const char* disambiguation, int n) const
{
    if (context && sourceText)
        for (const QtText& text : kMissingTexts)
            if (std::strcmp(text.context, context) == 0 && std::strcmp(text.source, sourceText) == 0)
                return QString::fromUtf8(text.french);
    return m_catalogue.translate(context, sourceText, disambiguation, n);
}

bool QtTranslations::apply(int language)
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
    m_installed = false;
    // Only while no file dialog is open: its gatherer thread reads the default locale.
    QLocale::setDefault(localeFor(language == 1 ? 1 : 0));
    if (language == 1)
        return true;
    const bool catalogue = m_translator.loadCatalogue();
    m_installed = QCoreApplication::installTranslator(&m_translator);
    return catalogue && m_installed;
}

int qtLanguage()
{
    // The default locale speaks the language last applied (see localeFor).
    return QLocale().language() == QLocale::French ? 0 : 1;
}

}  // namespace vantor
