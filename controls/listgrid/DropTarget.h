#pragma once

#include "controls/listgrid/ListGridControl.h"

#include <QEvent>
#include <QObject>

namespace listgrid {

// The control's drop target: registered on the window's rows when the window is
// made, it hands every drag event to the control, which answers by OLEDropMode.
class ListGridControl::DropTarget : public QObject
{
public:
    explicit DropTarget(ListGridControl& control) : m_control(control) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop: return m_control.dropTargetEvent(event);
        default: return false;
        }
    }

private:
    ListGridControl& m_control;
};

} // namespace listgrid
