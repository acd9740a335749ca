#include "package/listwindow/DropDownEditors.h"

#include "platform/basic/Conversions.h"

#include <QCoreApplication>
#include <QDoubleValidator>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>


namespace vllist {

LParam editorHandle(QWidget* editor)
{
    auto* window = dynamic_cast<Window*>(editor);
    return window ? toLParam(window) : 0;
}

QWidget* editorWidget(LParam handle) { return dynamic_cast<QWidget*>(windowFromHandle(handle)); }

namespace {

// The calculator editor's drop-down part: a keypad that works on the editor's number
// and leaves the result in the editor when "=" (or Enter) closes it.
class CalculatorKeypad : public QFrame
{
public:
    explicit CalculatorKeypad(QLineEdit& editor) : QFrame(&editor, Qt::Popup), m_editor(editor)
    {
        setFrameShape(QFrame::StyledPanel);
        auto* grid = new QGridLayout(this);
        grid->setContentsMargins(3, 3, 3, 3);
        grid->setSpacing(2);
        static const char* const keys[4][4] = {
            {"7", "8", "9", "/"}, {"4", "5", "6", "*"}, {"1", "2", "3", "-"}, {"0", ".", "=", "+"}};
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                addKey(grid, QChar::fromLatin1(keys[r][c][0]), r, c);
        addKey(grid, QLatin1Char('C'), 4, 0);
    }

    void open()
    {
        const auto number = basic::parseNumber(m_editor.text());
        m_value = number.value_or(0.0);
        m_pending = QChar();
        m_fresh = true;
        adjustSize();
        move(m_editor.mapToGlobal(QPoint(0, m_editor.height())));
        show();
        setFocus();
    }

    void press(QChar key)
    {
        if (key.isDigit() || key == QLatin1Char('.')) {
            QString entry = m_fresh ? QString() : m_editor.text();
            if (key == QLatin1Char('.') && entry.contains(key))
                return;
            entry += key;
            m_fresh = false;
            m_editor.setText(entry);
        } else if (key == QLatin1Char('C')) {
            m_value = 0;
            m_pending = QChar();
            m_fresh = true;
            m_editor.setText(QStringLiteral("0"));
        } else {
            apply();
            if (key == QLatin1Char('=')) {
                hide();
                return;
            }
            m_pending = key;
        }
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const QString text = event->text();
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            press(QLatin1Char('='));
        else if (event->key() == Qt::Key_Escape)
            hide();
        else if (text.size() == 1 && QStringLiteral("0123456789.+-*/=cC").contains(text.at(0)))
            press(text.at(0).toUpper());
        else
            QFrame::keyPressEvent(event);
    }

private:
    void addKey(QGridLayout* grid, QChar key, int row, int column)
    {
        auto* button = new QPushButton(QString(key), this);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(28, 24);
        connect(button, &QPushButton::clicked, this, [this, key] { press(key); });
        grid->addWidget(button, row, column);
    }

    // The pending operation on the value and the number in the editor.
    void apply()
    {
        const double entry = basic::parseNumber(m_editor.text()).value_or(0.0);
        if (!m_fresh || m_pending.isNull()) {
            switch (m_pending.unicode()) {
            case u'+': m_value += entry; break;
            case u'-': m_value -= entry; break;
            case u'*': m_value *= entry; break;
            case u'/': m_value = entry == 0 ? m_value : m_value / entry; break;
            default: m_value = entry; break;
            }
        }
        m_pending = QChar();
        m_fresh = true;
        m_editor.setText(QString::number(m_value, 'g', 15));
    }

    QLineEdit& m_editor;
    double m_value = 0;
    QChar m_pending;
    bool m_fresh = true;
};

// Letters typed into an upper-case edit become capitals.
class UppercaseValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

void LineEditorWindow::applyStyle(uint32_t style)
{
    if (m_button) {
        m_button->setVisible(!(style & editor::PopupButtonHidden));
        placeButton();
    }
    setReadOnly(style & (m_edit ? editor::EditLocked : editor::Locked));
    if (m_edit && (style & editor::EditUppercase))
        setValidator(new UppercaseValidator(this));
}

LineEditorWindow::LineEditorWindow(const QByteArray& editorClass, QWidget* parent) : QLineEdit(parent)
{
    m_calculator = editorClass == "#VL32CALCEDIT";
    m_edit = editorClass == "EDIT";
    if (editorClass == "#VL32NUMBEREDIT" || m_calculator)
        setValidator(new QDoubleValidator(this));
    if (editorClass == "#VL32POPUP") {
        m_button = new QToolButton(this);
        m_button->setText(QStringLiteral("..."));
        m_button->setCursor(Qt::ArrowCursor);
        m_button->setFocusPolicy(Qt::NoFocus);
        connect(m_button, &QToolButton::clicked, this, [this] {
            if (onButton)
                onButton();
        });
    }
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (!onEdited || m_checking)
            return;
        m_checking = true;
        if (!onEdited())
            setText(m_accepted);
        m_checking = false;
    });
    m_lock = editorClass == "#VL32NUMBEREDIT" ? 0x140A
             : m_calculator                   ? 0x140C
             : editorClass == "#VL32POPUP"    ? 0x1409
                                              : editor::SetReadOnly;
}

void LineEditorWindow::keyPressEvent(QKeyEvent* event)
{
    // The text before the key: what a refused change goes back to.
    m_accepted = text();
    QLineEdit::keyPressEvent(event);
}

void LineEditorWindow::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    placeButton();
}

// The button at the right edge, as tall as the editor; the text stops before it.
void LineEditorWindow::placeButton()
{
    if (!m_button)
        return;
    const int side = std::max(1, height());
    m_button->setGeometry(width() - side, 0, side, side);
    setTextMargins(0, 0, m_button->isVisibleTo(this) ? side : 0, 0);
}

LParam LineEditorWindow::sendMessage(Message message, WParam wParam, LParam lParam)
{
    if (m_button && message == editor::PopupButton) {
        m_button->setVisible(lParam != 0);
        placeButton();
        return 1;
    }
    if (m_calculator && message == editor::OpenCalculator) {
        openCalculator();
        return 0;
    }
    if (message == m_lock) {
        setReadOnly(message == editor::SetReadOnly ? wParam != 0 : lParam != 0);
        return 1;
    }
    return 0;
}

void LineEditorWindow::openCalculator()
{
    if (!m_dropDown)
        m_dropDown = new CalculatorKeypad(*this);
    static_cast<CalculatorKeypad*>(m_dropDown)->open();
}

DateEditorWindow::DateEditorWindow(QWidget* parent) : QDateEdit(parent)
{
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setCalendarPopup(true);
}

LParam DateEditorWindow::sendMessage(Message message, WParam, LParam lParam)
{
    if (message == editor::OpenCalendar) {
        // The editor's own calendar drops down as for a click on its arrow.
        const QPointF arrow(width() - 4, height() / 2.0);
        QMouseEvent press(QEvent::MouseButtonPress, arrow, mapToGlobal(arrow), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(this, &press);
        return 0;
    }
    if (message == 0x1412) {
        setReadOnly(lParam != 0);
        return 1;
    }
    return 0;
}

} // namespace vllist
