// A dialog built from a template, with its controls found by numeric id, a
// table of handlers, and the key filter the program's dialogs share.
#pragma once

#include "DialogTemplate.h"

#include <QDialog>
#include <QHash>
#include <QString>

#include <functional>
#include <initializer_list>
#include <span>
#include <vector>

class QTimerEvent;

namespace vantor {

enum class Notification {
    Clicked,             // a button, or a command sent by an accelerator
    FocusLost,           // an edit box lost the keyboard focus
    SelectionConfirmed,  // a list's choice was confirmed by the user
    Timer,               // a window timer with the entry's id fired
};

template <typename Dialog>
struct HandlerEntry {
    int control;
    Notification notification;
    void (Dialog::*handler)();
};

// The accelerators every dialog with the shared key filter uses.
std::span<const Accelerator> sharedAccelerators();

class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    // sharedKeys: Escape swallowed, the shared accelerators, Enter doing nothing.
    TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent, bool sharedKeys = true);

    QWidget* control(int id) const { return m_controls.value(id, nullptr); }
    template <typename Widget>
    Widget* control(int id) const
    {
        return qobject_cast<Widget*>(control(id));
    }
    QString controlText(int id) const;
    // Shows or hides the controls named (those the template lacks are passed over).
    void showControls(std::initializer_list<int> ids, bool visible);
    void setControlText(int id, const QString& text);

    // Dialog units to pixels with the dialog font, as the templates are laid out.
    QPoint toPixels(int x, int y) const;
    int templateId() const { return m_templateId; }

    // Sends a command as a menu or an accelerator would.
    void sendCommand(int id);
    // Starts or stops a window timer identified by the dialog's own id.
    void startWindowTimer(int id, int intervalMs);
    void stopWindowTimer(int id);

    void centreOn(QWidget* owner);

    // Widens every control narrower than its text (a label, a check box, a
    // button, a group's title, the longest choice of a list), moving what stands
    // to its right and widening the groups around it. Runs when the dialog first
    // shows and again for each text set afterwards.
    void fitTexts();

protected:
    using Handler = std::function<void()>;
    void on(int control, Notification notification, Handler handler);

    template <typename Dialog, size_t N>
    void connectHandlers(const HandlerEntry<Dialog> (&table)[N])
    {
        for (const auto& entry : table) {
            auto member = entry.handler;
            on(entry.control, entry.notification, [this, member] { (static_cast<Dialog*>(this)->*member)(); });
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void build(const DialogTemplate& dialogTemplate);
    QWidget* makeControl(const ControlTemplate& c);
    bool filterKey(QKeyEvent* event);
    void runHandlers(int control, Notification notification);

    struct Registered {
        int control;
        Notification notification;
        Handler handler;
    };

    int m_templateId = 0;
    int m_baseX = 6, m_baseY = 13;
    bool m_sharedKeys = true;
    QHash<int, QWidget*> m_controls;
    std::vector<QWidget*> m_built;  // every control, in template order
    bool m_fitted = false;
    std::vector<Registered> m_handlers;
    QHash<int, int> m_timers;  // Qt timer id -> our id
};

}  // namespace vantor
