#include "LinkWindow.h"

#include "LanguageTables.h"
#include "Program.h"
#include "SettingsFiles.h"

#include <QDateTime>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace vantor {

namespace {

constexpr int kRefreshMs = 500;

QString printed(const char* format, auto... values)
{
    char text[512];
    std::snprintf(text, sizeof text, format, values...);
    return QString::fromUtf8(text);
}

}  // namespace

LinkWindow::LinkWindow(Program& program, QWidget* parent)
    : QDialog(parent), m_program(program), m_port(new QLabel(this)), m_counts(new QLabel(this)),
      m_failure(new QLabel(this)), m_frames(new QPlainTextEdit(this)), m_timer(new QTimer(this))
{
    const int language = program.context().language();
    setWindowTitle(QString::fromUtf8(lang::LinkCaption.text(language)));
    m_frames->setReadOnly(true);
    m_frames->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_frames->setFont(QFont(QStringLiteral("Monospace")));
    m_frames->setMinimumSize(640, 240);
    auto* saveButton = new QPushButton(QString::fromUtf8(lang::LinkSave.text(language)), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_port);
    layout->addWidget(m_counts);
    layout->addWidget(m_failure);
    layout->addWidget(m_frames, 1);
    layout->addWidget(saveButton, 0, Qt::AlignRight);
    connect(saveButton, &QPushButton::clicked, this, &LinkWindow::save);
    connect(m_timer, &QTimer::timeout, this, &LinkWindow::refresh);
    m_timer->start(kRefreshMs);
    refresh();
}

void LinkWindow::refresh()
{
    const int language = m_program.context().language();
    const LinkSettings& link = m_program.state.settings.link;
    const char* port = choiceText(lang::ListCom, link.portIndex, language);
    const bool knownBaud = link.baudIndex >= 0 && link.baudIndex < static_cast<int>(kBaudRates.size());
    m_port->setText(printed(lang::LinkInUse.text(language), port ? port : "?",
                            m_program.serial.devicePath(link.portIndex).c_str(), knownBaud ? kBaudRates[link.baudIndex] : 0,
                            static_cast<int>(jbusAddressByte(link.jbusAddress))));
    const LinkCounters& c = m_program.master.counters();
    using N = unsigned long long;
    m_counts->setText(printed(lang::LinkCounts.text(language), N{c.transactions}, N{c.good}, N{c.retries},
                              N{c.silences}, N{c.badCrc}, N{c.wrongLength}, N{c.badReply}, N{c.exceptions}));
    if (c.lastFailure == LinkFailure::None) {
        m_failure->setText(QString::fromUtf8(lang::LinkNoFailureYet.text(language)));
    } else {
        const QString when = QDateTime::fromSecsSinceEpoch(c.lastFailureTime).toString(QStringLiteral("HH:mm:ss"));
        m_failure->setText(printed(lang::LinkLastFailure.text(language), linkFailureText(c.lastFailure, language),
                                   when.toUtf8().constData()));
    }
    // Again when frames came (the log keeps the last few hundred) or the language changed.
    const FrameLog& log = m_program.frameLog;
    if (log.size() != m_shownFrames || log.size() == log.capacity() || language != m_shownLanguage) {
        QString text;
        for (const std::string& line : log.lines(language))
            text += QString::fromStdString(line) + '\n';
        m_frames->setPlainText(text);
        m_frames->moveCursor(QTextCursor::End);
        m_shownFrames = log.size();
        m_shownLanguage = language;
    }
}

void LinkWindow::save()
{
    const int language = m_program.context().language();
    FileRequest request;
    request.owner = this;
    request.filter = std::string(lang::LinkTextFile.text(language)) + " (*.txt)|*.txt|";
    request.initialFolder = m_program.state.settings.currentFolder;
    const std::optional<std::string> chosen = m_program.prompts.saveFileName(request);
    if (!chosen)
        return;
    const std::string path = withDefaultExtension(*chosen, "txt");
    // The dialog asked about the name typed, not the one with the extension.
    if (path != *chosen && pathExists(path) &&
        m_program.prompts.messageBox(this, lang::LinkCaption.text(language), lang::FileReplace.text(language) + path,
                                     BoxIcon::Question, BoxButtons::YesNo) != BoxAnswer::Yes)
        return;
    const LinkSettings& link = m_program.state.settings.link;
    const LinkLogHeader header{m_program.versions.internalName + " " + m_program.versions.fileVersion,
                               m_program.now().toMSecsSinceEpoch(), link, m_program.serial.devicePath(link.portIndex),
                               m_program.master.counters()};
    if (!m_program.frameLog.saveTo(path, header))
        m_program.prompts.messageBox(this, lang::LinkCaption.text(language),
                                     lang::FileCannotWrite.text(language) + path, BoxIcon::Error, BoxButtons::Ok);
}

}  // namespace vantor
