#include "ScanWindow.h"

#include "LanguageTables.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>


namespace vantor {

namespace {

// Room the title bar keeps for its icon and its buttons, and a margin.
constexpr int kTitleBarButtons = 140;

}  // namespace

ScanWindow::ScanWindow(QWidget* parent, int language)
    : QDialog(parent), m_language(language), m_ports(new QLabel(this)), m_cancel(new QPushButton(this))
{
    setWindowTitle(QString::fromUtf8(lang::ScanCaption.text(language)));
    setWindowModality(Qt::ApplicationModal);
    m_cancel->setText(QString::fromUtf8(lang::ScanCancel.text(language)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_ports);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        m_cancel->setEnabled(false);
    });
    ScanProgress starting;
    starting.ports.resize(kScannedPorts);
    showProgress(starting);
    // Wide enough for its whole title beside the title bar's buttons, as far
    // as the title bar's font can be known here.
    QFont title = font();
    title.setBold(true);
    setMinimumWidth(QFontMetrics(title).horizontalAdvance(windowTitle()) + kTitleBarButtons);
    show();
}

void ScanWindow::showProgress(const ScanProgress& progress)
{
    QStringList lines;
    for (size_t port = 0; port < progress.ports.size(); ++port)
        lines << QString::fromStdString(scanLine(comName(static_cast<int>(port), m_language), progress.ports[port],
                                                 m_language));
    m_ports->setText(lines.join('\n'));
    // Grows with its longest line, never shrinks: the text stays whole and still.
    if (sizeHint().width() > width() || sizeHint().height() > height())
        resize(sizeHint().expandedTo(size()));
}

}  // namespace vantor
