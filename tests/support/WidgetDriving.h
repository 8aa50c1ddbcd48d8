#pragma once

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QWidget>

namespace vantor::test {

// Chooses item `index` of a list as the user would, confirming the selection.
inline void choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// The keyboard focus leaves the widget.
inline void loseFocus(QWidget* widget)
{
    QFocusEvent event(QEvent::FocusOut);
    QApplication::sendEvent(widget, &event);
}

}  // namespace vantor::test
