#include "WaitWindow.h"

#include "LanguageTables.h"
#include "Templates.h"

#include <QCoreApplication>

namespace vantor {

WaitWindow::WaitWindow(QWidget* parent, int language) : TemplateDialog(templates::kWait, parent, false)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setModal(false);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setControlText(1220, QString::fromUtf8(lang::WaitText.text(language)));
    centreOn(parent);
    show();
    // Paint now: the transfer that follows keeps the event loop busy.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vantor
