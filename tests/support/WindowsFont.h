#pragma once

#include <QApplication>
#include <QFontInfo>
#include <QStringList>

#include <string>

namespace vantor::test {

// Sizes and text widths on Windows follow its own dialog font. Under Wine,
// which may not have it, a test of what fits has nothing to say: the reason,
// or empty where the font is the system's own (and always elsewhere).
inline std::string withoutWindowsFont()
{
#ifdef _WIN32
    const QString family = QFontInfo(QApplication::font()).family();
    const QStringList own{"Segoe UI", "Tahoma", "MS Shell Dlg 2", "Microsoft Sans Serif"};
    if (family.isEmpty())
        return "this platform has no font here (Qt's offscreen platform under Wine)";
    if (!own.contains(family))
        return "the dialog font here is " + family.toStdString() + ", not one of Windows's own";
#endif
    return {};
}

}  // namespace vantor::test
