#include "Launcher.h"

#include <QProcess>
#include <QStringList>

namespace vantor {

bool launchProgram(const std::string& program, const std::vector<std::string>& arguments)
{
    QStringList list;
    for (const std::string& a : arguments)
        list << QString::fromStdString(a);
    return QProcess::startDetached(QString::fromStdString(program), list);
}

}  // namespace vantor
