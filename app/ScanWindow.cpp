#include "ScanWindow.h"

#include "LanguageTables.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

namespace vantor {

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
    showProgress({});
    show();
}

void ScanWindow::showProgress(const ScanProgress& progress)
{
    QStringList lines;
    for (int port = 0; port < kScannedPorts; ++port) {
        const ScanProgress::PortState& p = progress.ports[port];
        const BilingualText* text = &lang::ScanTrying;
        switch (p.state) {
        case ScanProgress::Port::Trying: text = &lang::ScanTrying; break;
        case ScanProgress::Port::Found: text = &lang::ScanFound; break;
        case ScanProgress::Port::NotFound: text = &lang::ScanNothing; break;
        case ScanProgress::Port::Stopped: text = &lang::ScanStopped; break;
        }
        const char* name = choiceText(lang::ListCom, 4, false, port, m_language);
        char line[128];
        std::snprintf(line, sizeof line, text->text(m_language), name ? name : "?", kBaudRates[p.baudIndex]);
        lines << QString::fromUtf8(line);
    }
    m_ports->setText(lines.join('\n'));
    // Grows with its longest line, never shrinks: the text stays whole and still.
    if (sizeHint().width() > width() || sizeHint().height() > height())
        resize(sizeHint().expandedTo(size()));
}

}  // namespace vantor
