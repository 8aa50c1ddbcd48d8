// What the scan for the instrument is trying, port by port, while it runs;
// its Cancel button stops the scan.
#pragma once

#include "UnitScan.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace vantor {

class ScanWindow : public QDialog {
    Q_OBJECT
public:
    // Shows itself at once, modal, centred on its parent.
    ScanWindow(QWidget* parent, int language);

    void showProgress(const ScanProgress& progress);
    bool cancelled() const { return m_cancelled; }

private:
    int m_language;
    QLabel* m_ports;
    QPushButton* m_cancel;
    bool m_cancelled = false;
};

}  // namespace vantor
