#pragma once

#include <QIcon>
#include <QString>
#include <QToolBar>

#include <vector>

class QAction;

// The window's toolbar with buttons addressed by 1-based index, each with a
// caption (kept exactly as set, "&" included: callers compare it as text), a key
// and a tool tip. buttonClick reports the button clicked.
namespace widgets {

class ToolBar : public QToolBar
{
    Q_OBJECT

public:
    explicit ToolBar(QWidget* parent = nullptr);

    // Appends a button; returns its index.
    int addButton(const QString& caption, const QString& key = {}, const QString& toolTip = {},
                  const QIcon& icon = {});
    int buttonCount() const { return int(m_buttons.size()); }

    // Index out of range raises run-time error 35600 (index out of bounds).
    QString caption(int index) const;
    void setCaption(int index, const QString& caption);
    QString key(int index) const;
    QString toolTipText(int index) const;
    bool isButtonEnabled(int index) const;
    void setButtonEnabled(int index, bool enabled);
    bool isButtonVisible(int index) const;
    void setButtonVisible(int index, bool visible);
    // The index of the button with this key (exact text); 0 when none has it.
    int indexOfKey(const QString& key) const;
    // Clicks button `index` as the user would: nothing happens when it is disabled.
    void click(int index);
    QAction* action(int index) const;

Q_SIGNALS:
    void buttonClick(int index, const QString& key);

protected:
    // A button without a tool tip shows none (Qt would show its caption instead).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Button
    {
        QAction* action;
        QString caption;
        QString key;
        QString toolTip;
    };
    const Button& button(int index) const;

    std::vector<Button> m_buttons;
};

} // namespace widgets
