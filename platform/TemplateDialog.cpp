#include "TemplateDialog.h"

#include "BitmapButton.h"
#include "GroupFrame.h"
#include "Pictures.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QTimerEvent>

#include <algorithm>
#include <map>

namespace vantor {

namespace {

constexpr Accelerator kSharedAccelerators[] = {
    {Qt::Key_P, Qt::ControlModifier, 1045},  // print
    {Qt::Key_T, Qt::ControlModifier, 1036},  // upload
    {Qt::Key_Home, Qt::NoModifier, 1048},    // first record
    {Qt::Key_End, Qt::NoModifier, 1049},     // last record
    {Qt::Key_PageUp, Qt::NoModifier, 1037},  // previous record
    {Qt::Key_PageDown, Qt::NoModifier, 1039},
};

// The width a control needs to show its text whole; 0 when it has no text
// to fit (edit boxes, pictures, bitmap buttons, framed paths).
int neededWidth(QWidget* w)
{
    if (qobject_cast<BitmapButton*>(w))
        return 0;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->frameShape() != QFrame::NoFrame || label->text().isEmpty())
            return 0;
        return label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() + 2;
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->count() == 0)
            return 0;
        int widest = 0;
        for (int i = 0; i < combo->count(); ++i)
            widest = std::max(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        return combo->style()
            ->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(widest + 4, combo->fontMetrics().height()), combo)
            .width();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text().isEmpty() ? 0 : button->sizeHint().width();
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return group->title().isEmpty() ? 0 : group->fontMetrics().horizontalAdvance(group->title()) + 16;
    return 0;
}

}  // namespace

std::span<const Accelerator> sharedAccelerators() { return kSharedAccelerators; }

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent, bool sharedKeys)
    : QDialog(parent), m_templateId(dialogTemplate.id), m_sharedKeys(sharedKeys)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    build(dialogTemplate);
}

void TemplateDialog::build(const DialogTemplate& t)
{
    QFont dialogFont = QApplication::font();
    if (t.fontFamily)
        dialogFont.setFamily(QString::fromUtf8(t.fontFamily));
    if (t.fontPointSize > 0)
        dialogFont.setPointSize(t.fontPointSize);
    setFont(dialogFont);
    // The dialog base units: the average width of the letters and the line height.
    const QFontMetrics metrics(dialogFont);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = std::max(1, (metrics.horizontalAdvance(letters) / 26 + 1) / 2);
    m_baseY = std::max(1, metrics.height());

    setWindowTitle(QString::fromUtf8(t.caption));
    const QPoint size = toPixels(t.width, t.height);
    setFixedSize(size.x(), size.y());
    for (const ControlTemplate& c : t.controls) {
        QWidget* widget = makeControl(c);
        const QPoint topLeft = toPixels(c.x, c.y);
        const QPoint extent = toPixels(c.width, c.height);
        int height = extent.y();
        if (c.kind == ControlKind::ComboDropDown || c.kind == ControlKind::ComboDropList)
            height = std::min(height, widget->sizeHint().height());  // the template height includes the list
        widget->setGeometry(topLeft.x(), topLeft.y(), extent.x(), height);
        if (c.kind == ControlKind::GroupBox)
            widget->lower();
        widget->installEventFilter(this);
        m_built.push_back(widget);
        widget->setProperty("controlId", c.id);  // for diagnostics
        if (c.id >= 0)
            m_controls.insert(c.id, widget);
    }
}

QWidget* TemplateDialog::makeControl(const ControlTemplate& c)
{
    const QString text = QString::fromUtf8(c.text ? c.text : "");
    switch (c.kind) {
    case ControlKind::Static:
    case ControlKind::StaticCentered:
    case ControlKind::StaticRight:
    case ControlKind::StaticFrame: {
        auto* label = new QLabel(text, this);
        label->setTextFormat(Qt::PlainText);
        if (c.kind == ControlKind::StaticCentered)
            label->setAlignment(Qt::AlignCenter);
        else if (c.kind == ControlKind::StaticRight)
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        else
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (c.kind == ControlKind::StaticFrame)
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return label;
    }
    case ControlKind::Picture: {
        auto* label = new QLabel(this);
        label->setObjectName(text);  // a window that redraws its picture finds it by name
        label->setPixmap(picture(text, devicePixelRatioF()));
        label->setAlignment(Qt::AlignCenter);
        return label;
    }
    case ControlKind::Icon: {
        auto* label = new QLabel(this);
        const QPoint extent = toPixels(c.width, c.height);
        label->setPixmap(programIcon().pixmap(std::min(extent.x(), extent.y()), std::min(extent.x(), extent.y())));
        return label;
    }
    case ControlKind::Edit: return new QLineEdit(text, this);
    case ControlKind::ComboDropDown:
    case ControlKind::ComboDropList: {
        auto* combo = new QComboBox(this);
        combo->setEditable(c.kind == ControlKind::ComboDropDown);
        combo->setInsertPolicy(QComboBox::NoInsert);
        return combo;
    }
    case ControlKind::CheckBox: return new QCheckBox(text, this);
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, this);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::DefaultButton: {
        auto* button = new QPushButton(text, this);
        button->setDefault(true);
        button->hide();
        return button;
    }
    case ControlKind::OkButton: {
        auto* button = new QPushButton(text, this);
        button->setDefault(true);
        connect(button, &QPushButton::clicked, this, &QDialog::accept);
        return button;
    }
    case ControlKind::BitmapButton: return new BitmapButton(text, this);
    case ControlKind::GroupBox: return new GroupFrame(text, this);
    case ControlKind::ProgressBar: return new QProgressBar(this);
    case ControlKind::Custom: return new QWidget(this);
    }
    return new QWidget(this);
}

QPoint TemplateDialog::toPixels(int x, int y) const
{
    return {(x * m_baseX + 2) / 4, (y * m_baseY + 4) / 8};
}

QString TemplateDialog::controlText(int id) const
{
    QWidget* w = control(id);
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return group->title();
    return QString();
}

void TemplateDialog::showControls(std::initializer_list<int> ids, bool visible)
{
    for (int id : ids)
        if (QWidget* w = control(id))
            w->setVisible(visible);
}

void TemplateDialog::setControlText(int id, const QString& text)
{
    QWidget* w = control(id);
    // The measurement refreshes every text once a second: one that stays as it
    // was costs nothing, and only a text grown past its control widens the layout.
    if (!w || controlText(id) == text)
        return;
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable())
        combo->setEditText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(text);
    if (m_fitted && neededWidth(w) > w->width())
        fitTexts();
}

void TemplateDialog::on(int id, Notification notification, Handler handler)
{
    m_handlers.push_back({id, notification, std::move(handler)});
    if (m_handlers.size() > 1) {
        // Signals are connected once per control and notification.
        for (size_t i = 0; i + 1 < m_handlers.size(); ++i)
            if (m_handlers[i].control == id && m_handlers[i].notification == notification)
                return;
    }
    QWidget* w = control(id);
    if (notification == Notification::Clicked) {
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            connect(button, &QAbstractButton::clicked, this, [this, id] { runHandlers(id, Notification::Clicked); });
    } else if (notification == Notification::SelectionConfirmed) {
        if (auto* combo = qobject_cast<QComboBox*>(w))
            connect(combo, &QComboBox::activated, this,
                    [this, id](int) { runHandlers(id, Notification::SelectionConfirmed); });
    }
    // Focus loss comes through the event filter, timers through timerEvent.
}

void TemplateDialog::runHandlers(int id, Notification notification)
{
    // A handler may register more: run a copy, the table may move meanwhile.
    const size_t count = m_handlers.size();
    for (size_t i = 0; i < count; ++i) {
        if (m_handlers[i].control != id || m_handlers[i].notification != notification)
            continue;
        const Handler handler = m_handlers[i].handler;
        handler();
    }
}

void TemplateDialog::sendCommand(int id) { runHandlers(id, Notification::Clicked); }

void TemplateDialog::startWindowTimer(int id, int intervalMs)
{
    stopWindowTimer(id);
    m_timers.insert(startTimer(intervalMs), id);
}

void TemplateDialog::stopWindowTimer(int id)
{
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it.value() == id) {
            killTimer(it.key());
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

void TemplateDialog::timerEvent(QTimerEvent* event)
{
    const auto it = m_timers.constFind(event->timerId());
    if (it == m_timers.constEnd()) {
        QDialog::timerEvent(event);
        return;
    }
    runHandlers(it.value(), Notification::Timer);
}

void TemplateDialog::fitTexts()
{
    m_fitted = true;
    // Controls that share a column (the same left and right edges) widen together,
    // so that the rows of a group stay aligned.
    std::map<std::pair<int, int>, std::vector<QWidget*>> columns;
    int rightmost = 0;
    for (QWidget* w : m_built) {
        columns[{w->x(), w->x() + w->width()}].push_back(w);
        rightmost = std::max(rightmost, w->x() + w->width());
    }
    const int margin = std::max(0, width() - rightmost);
    for (auto& [edges, members] : columns) {
        int delta = 0;
        for (QWidget* w : members)
            delta = std::max(delta, neededWidth(w) - w->width());
        if (delta <= 0)
            continue;
        const QWidget* first = members.front();
        const int left = first->x(), right = first->x() + first->width();
        int top = first->y(), bottom = first->y() + first->height();
        for (QWidget* w : members) {
            top = std::min(top, w->y());
            bottom = std::max(bottom, w->y() + w->height());
        }
        for (QWidget* w : members)
            w->resize(w->width() + delta, w->height());
        for (QWidget* other : m_built) {
            if (std::find(members.begin(), members.end(), other) != members.end())
                continue;
            if (other->x() >= right)
                other->move(other->x() + delta, other->y());
            else if (qobject_cast<QGroupBox*>(other) && other->x() <= left && other->x() + other->width() >= right &&
                     other->y() < bottom && other->y() + other->height() > top)
                other->resize(other->width() + delta, other->height());
        }
    }
    rightmost = 0;
    for (QWidget* w : m_built)
        rightmost = std::max(rightmost, w->x() + w->width());
    if (rightmost + margin > width())
        setFixedWidth(rightmost + margin);
}

void TemplateDialog::showEvent(QShowEvent* event)
{
    if (!m_fitted)
        fitTexts();
    QDialog::showEvent(event);
}

void TemplateDialog::centreOn(QWidget* owner)
{
    const QRect area = owner ? owner->frameGeometry()
                             : (screen() ? screen()->availableGeometry() : QRect(0, 0, width(), height()));
    move(area.center() - rect().center());
}

bool TemplateDialog::filterKey(QKeyEvent* event)
{
    if (!m_sharedKeys)
        return false;
    // Escape never closes these dialogs.
    if (event->key() == Qt::Key_Escape)
        return true;
    const int modifiers = static_cast<int>(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier));
    for (const Accelerator& a : kSharedAccelerators) {
        if (a.key == event->key() && a.modifiers == modifiers) {
            sendCommand(a.command);
            return true;
        }
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    // Enter presses a default button the dialog shows (the initialisation's Yes);
    // otherwise it lands on the hidden one, which does nothing.
    for (QPushButton* button : findChildren<QPushButton*>())
        if (button->isDefault() && !button->isHidden() && button->isEnabled())
            button->click();
    return true;
}

bool TemplateDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && filterKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::FocusOut) {
        for (auto it = m_controls.constBegin(); it != m_controls.constEnd(); ++it) {
            if (it.value() == watched) {
                runHandlers(it.key(), Notification::FocusLost);
                break;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TemplateDialog::keyPressEvent(QKeyEvent* event)
{
    if (filterKey(event))
        return;
    QDialog::keyPressEvent(event);
}

}  // namespace vantor
