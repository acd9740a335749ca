#include "platform/widgets/ToolBar.h"

#include "platform/basic/RuntimeError.h"

#include <QAction>
#include <QEvent>
#include <QToolTip>

namespace widgets {

ToolBar::ToolBar(QWidget* parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
}

int ToolBar::addButton(const QString& caption, const QString& key, const QString& toolTip, const QIcon& icon)
{
    QAction* action = addAction(icon, caption);
    if (!toolTip.isEmpty())
        action->setToolTip(toolTip);
    else if (QWidget* shown = widgetForAction(action))
        shown->installEventFilter(this);
    m_buttons.push_back({action, caption, key, toolTip});
    const int index = buttonCount();
    connect(action, &QAction::triggered, this,
            [this, index] { Q_EMIT buttonClick(index, m_buttons[index - 1].key); });
    return index;
}

bool ToolBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        QToolTip::hideText();
        return true;
    }
    return QToolBar::eventFilter(watched, event);
}

const ToolBar::Button& ToolBar::button(int index) const
{
    if (index < 1 || index > buttonCount())
        throw basic::RuntimeError(35600, QStringLiteral("Index out of bounds"));
    return m_buttons[size_t(index - 1)];
}

QString ToolBar::caption(int index) const
{
    return button(index).caption;
}

void ToolBar::setCaption(int index, const QString& caption)
{
    button(index);
    m_buttons[size_t(index - 1)].caption = caption;
    m_buttons[size_t(index - 1)].action->setText(caption);
}

QString ToolBar::key(int index) const
{
    return button(index).key;
}

QString ToolBar::toolTipText(int index) const
{
    return button(index).toolTip;
}

bool ToolBar::isButtonEnabled(int index) const
{
    return button(index).action->isEnabled();
}

void ToolBar::setButtonEnabled(int index, bool enabled)
{
    button(index).action->setEnabled(enabled);
}

bool ToolBar::isButtonVisible(int index) const
{
    return button(index).action->isVisible();
}

void ToolBar::setButtonVisible(int index, bool visible)
{
    button(index).action->setVisible(visible);
}

int ToolBar::indexOfKey(const QString& key) const
{
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i].key == key)
            return int(i) + 1;
    return 0;
}

void ToolBar::click(int index)
{
    button(index).action->trigger();
}

QAction* ToolBar::action(int index) const
{
    return button(index).action;
}

} // namespace widgets
