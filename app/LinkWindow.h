// The link as the technician looks into it: the port, speed and address in
// use, the master's counters since start, the last failure with its time and
// the last frames as vantorctl --trace prints them. It follows the link live,
// and saves the frames to a text file to send to support.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QTimer;

namespace vantor {

class Program;

class LinkWindow : public QDialog {
    Q_OBJECT
public:
    LinkWindow(Program& program, QWidget* parent);

    // Shows the link as it stands now.
    void refresh();

private:
    void save();

    Program& m_program;
    QLabel* m_port;
    QLabel* m_counts;
    QLabel* m_failure;
    QPlainTextEdit* m_frames;
    QTimer* m_timer;
    size_t m_shownFrames = 0;
    int m_shownLanguage = -1;
};

}  // namespace vantor
