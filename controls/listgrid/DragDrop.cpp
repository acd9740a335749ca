// The list and grid controls' drag and drop: the drag they start (OLEDrag, and the
// automatic drag of a row pressed and moved), the data source it carries, and the
// drop target that raises the drag events of a drag over them.
#include "controls/listgrid/DropTarget.h"

#include "controls/listgrid/ListViewWnd.h"

#include "package/listwindow/ListWindow.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/Twips.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMouseEvent>
#include <QTableView>

namespace listgrid {

using automation::Args;
using basic::Variant;

namespace {

constexpr int32_t EffectNone = 0, EffectCopy = 1, EffectMove = 2;

Qt::DropActions actionsOf(int32_t effects)
{
    Qt::DropActions actions;
    if (effects & EffectCopy)
        actions |= Qt::CopyAction;
    if (effects & EffectMove)
        actions |= Qt::MoveAction;
    return actions;
}

int32_t effectOf(Qt::DropAction action)
{
    switch (action) {
    case Qt::CopyAction: return EffectCopy;
    case Qt::MoveAction: return EffectMove;
    default: return EffectNone;
    }
}

// The drag loop of the platform: Qt's drag, which asks the targets under the
// pointer and ends with the effect the one dropped on chose.
int32_t platformDragLoop(ListGridControl& source, int32_t allowedEffects)
{
    // Qt deletes the drag when it is over, and the drag its mime data.
    auto* drag = new QDrag(source.widget());
    if (auto* mime = qobject_cast<ControlMimeData*>(source.dragMimeData()))
        mime->setTaken();
    drag->setMimeData(source.dragMimeData());
    QObject::connect(drag, &QDrag::actionChanged, source.widget(),
                     [&source](Qt::DropAction action) { source.giveFeedback(effectOf(action)); });
    return effectOf(drag->exec(actionsOf(allowedEffects), Qt::MoveAction));
}

ListGridControl::DragLoop& dragLoop()
{
    static ListGridControl::DragLoop loop = &platformDragLoop;
    return loop;
}

} // namespace

void ListGridControl::setDragLoop(DragLoop loop) { dragLoop() = loop ? std::move(loop) : DragLoop(&platformDragLoop); }

void ListGridControl::registerDropTarget()
{
    m_dropTarget = std::make_unique<DropTarget>(*this);
    QWidget* rows = m_window->view()->viewport();
    rows->setAcceptDrops(true);
    rows->installEventFilter(m_dropTarget.get());
}

QPointF ListGridControl::containerPoint(const QPointF& inViewport) const
{
    const QPoint client = m_window->view()->viewport()->mapTo(widget(), inViewport.toPoint());
    return {double(forms::pixelsToTwips(client.x())), double(forms::pixelsToTwips(client.y()))};
}

// ---- the drag this control starts ----

void ListGridControl::armAutomaticDrag()
{
    // Only a press in the rows with the button still down can become a drag.
    m_dragArmed = m_pressedAt.has_value();
}

bool ListGridControl::rowsMouseEvent(QEvent* event)
{
    const auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // Seen before the window reports the click, which may arm the drag on it.
        m_dragArmed = false;
        if (mouse->button() == Qt::LeftButton)
            m_pressedAt = mouse->position().toPoint();
        return false;
    case QEvent::MouseButtonRelease:
        if (mouse->button() == Qt::LeftButton) {
            // A click, not a drag: nothing starts, and nothing is dropped or moved.
            m_pressedAt.reset();
            m_dragArmed = false;
        }
        return false;
    case QEvent::MouseMove: {
        if (!m_dragArmed)
            return false;
        if (!(mouse->buttons() & Qt::LeftButton) || !m_pressedAt || m_oleDragMode != 2) {
            m_dragArmed = false;
            return false;
        }
        // The view sees none of these moves, so the pressed row stays the one dragged.
        if ((mouse->position().toPoint() - *m_pressedAt).manhattanLength() < QApplication::startDragDistance())
            return true;
        m_dragArmed = false;
        m_pressedAt.reset();
        oleDrag();
        return true;
    }
    default: return false;
    }
}

void ListGridControl::oleDrag()
{
    int32_t row = m_wnd->GetCurrentRow();
    if (row < 0 || m_dragging)
        return;
    m_dragArmed = false;
    m_dragging = true;
    m_source.empty();
    m_source.announceText();
    const bool automatic = m_oleDragMode == 2;
    if (automatic) {
        // The dragged row's text (the grid's: the current cell's), as the window gives it.
        const QByteArray text = m_wnd->GetDragText(row).toLatin1();
        m_source.setBlock(clipboard::Text, text + '\0');
    }
    m_dataObjectForDrag->clearFiles();
    m_dataObjectForDrag->setCurrent(&m_source);

    const DragEvents events = dragEvents();
    Args start{Variant(basic::ObjectRef(m_dataObjectForDrag)), Variant(int32_t(3))};
    fireByRef(events.startDrag, "OLEStartDrag", start);
    const int32_t allowed = basic::CLng(start.at(1));
    if (allowed != 0) {
        m_dragMime = new ControlMimeData(m_source);
        // The dragged row keeps its identity while the drop inserts or removes rows.
        m_wnd->trackRow(&row);
        int32_t effect = EffectNone;
        try {
            effect = dragLoop()(*this, allowed);
        } catch (const basic::RuntimeError&) {
            effect = EffectNone;
        }
        m_wnd->trackRow(nullptr);
        if (auto* mime = qobject_cast<ControlMimeData*>(m_dragMime.data())) {
            // Nothing may reach the source after the drag; mime data no drag took goes now.
            mime->detach();
            if (!mime->taken())
                delete mime;
        }
        m_dragMime.clear();
        m_dataObjectForDrag->setCurrent(&m_source);
        fire(events.completeDrag, "OLECompleteDrag", {Variant(effect)});
        if ((effect & EffectMove) && automatic && row >= 0)
            m_wnd->DeleteRow(row);
    }
    m_source.empty();
    m_dataObjectForDrag->setCurrent(nullptr);
    m_dragging = false;
}

bool ListGridControl::giveFeedback(int32_t effect)
{
    Args args{Variant(effect), Variant(true)};
    fireByRef(dragEvents().giveFeedback, "OLEGiveFeedback", args);
    // False: the container has set the cursor itself.
    return basic::CBool(args.at(1));
}

// ---- the drop target ----

bool ListGridControl::dropTargetEvent(QEvent* event)
{
    const DragEvents events = dragEvents();
    const Variant data{basic::ObjectRef(m_dataObjectForDrag)};
    if (m_oleDropMode == 0) {
        // Refused: no event, no effect.
        event->ignore();
        return true;
    }
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const bool entering = event->type() == QEvent::DragEnter;
        if (entering || !m_incoming) {
            m_incoming = std::make_unique<DropData>(drag->mimeData());
            m_dataObjectForDrag->clearFiles();
        }
        m_dataObjectForDrag->setCurrent(&m_incoming->data());
        const QPointF at = containerPoint(drag->position());
        Args args{data,
                  Variant(int32_t((drag->modifiers() & Qt::ControlModifier) ? EffectCopy : EffectMove)),
                  Variant(int16_t(0)),
                  Variant(shiftState(drag->modifiers())),
                  Variant(at.x()),
                  Variant(at.y()),
                  Variant(int16_t(entering ? 0 : 2))};
        fireByRef(events.dragOver, "OLEDragOver", args);
        m_dropEffect = basic::CLng(args.at(1));
        const Qt::DropActions actions = actionsOf(m_dropEffect) & drag->possibleActions();
        if (actions == Qt::IgnoreAction) {
            m_dropEffect = EffectNone;
            drag->setDropAction(Qt::IgnoreAction);
            // Still entered, so that the moves that follow are asked too.
            if (entering)
                drag->accept();
            else
                drag->ignore();
            return true;
        }
        drag->setDropAction(actions & drag->proposedAction() ? drag->proposedAction()
                            : (actions & Qt::MoveAction)     ? Qt::MoveAction
                                                             : Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::DragLeave: {
        m_dataObjectForDrag->setCurrent(m_dragging ? &m_source : nullptr);
        Args args{Variant::nothing(), Variant(int32_t(EffectNone)), Variant(int16_t(0)), Variant(shiftState()),
                  Variant(-1.0),      Variant(-1.0),               Variant(int16_t(1))};
        fireByRef(events.dragOver, "OLEDragOver", args);
        m_incoming.reset();
        m_dropEffect = EffectNone;
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!m_incoming) {
            m_incoming = std::make_unique<DropData>(drop->mimeData());
            m_dataObjectForDrag->clearFiles();
            m_dropEffect = (drop->modifiers() & Qt::ControlModifier) ? EffectCopy : EffectMove;
        }
        int32_t effect = m_dropEffect;
        if (effect != EffectNone) {
            m_dataObjectForDrag->setCurrent(&m_incoming->data());
            const QPointF at = drop->position().isNull() ? QPointF() : containerPoint(drop->position());
            Args args{data,
                      Variant(effect),
                      Variant(int16_t(0)),
                      Variant(shiftState(drop->modifiers())),
                      Variant(at.x()),
                      Variant(at.y())};
            fireByRef(events.dragDrop, "OLEDragDrop", args);
            effect = basic::CLng(args.at(1));
        }
        const Qt::DropActions actions = actionsOf(effect) & drop->possibleActions();
        if (actions == Qt::IgnoreAction) {
            drop->setDropAction(Qt::IgnoreAction);
            drop->ignore();
        } else {
            drop->setDropAction((actions & Qt::MoveAction) && !(effect == (EffectCopy | EffectMove) &&
                                                                 drop->proposedAction() == Qt::CopyAction)
                                    ? Qt::MoveAction
                                    : Qt::CopyAction);
            drop->accept();
        }
        // The files list stays for the host to read after the drop; the data object does not.
        m_dataObjectForDrag->setCurrent(m_dragging ? &m_source : nullptr);
        m_incoming.reset();
        m_dropEffect = EffectNone;
        return true;
    }
    default: return false;
    }
}

} // namespace listgrid
