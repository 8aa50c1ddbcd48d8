#pragma once

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QWidget>

namespace vantor::test {

// Chooses item `index` of a list as the user would, confirming the selection.
inline void Choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// The keyboard focus leaves the widget.
inline void LoseFocus(QWidget* widget)
{
    QFocusEvent event(QEvent::FocusOut);
    QApplication::sendEvent(widget, &event);
}

}  // namespace vantor::test
