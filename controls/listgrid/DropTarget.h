#pragma once

#include "controls/listgrid/ListGridControl.h"

#include <QEvent>
#include <QObject>

namespace listgrid {

// The control's drop target: registered on the window's rows when the window is
// made, it hands every drag event to the control, which answers by OLEDropMode,
// and the mouse too, for the automatic drag that starts from a press and a move.
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
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: return m_control.rowsMouseEvent(event);
        default: return false;
        }
    }

private:
    ListGridControl& m_control;
};

} // namespace listgrid
