#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QString>

#include <limits>

// Dialog items the pages share.
namespace listgrid {

// An item of the dialog: its object name is the property it edits, "itemId" its
// number in the dialog template.
template <class W>
W* pageItem(QWidget* page, const char* name, int id)
{
    auto* w = new W(page);
    w->setObjectName(QLatin1String(name));
    w->setProperty("itemId", id);
    return w;
}

inline QCheckBox* checkBoxItem(QWidget* page, const char* name, int id, const char* text)
{
    auto* box = pageItem<QCheckBox>(page, name, id);
    box->setText(QLatin1String(text));
    return box;
}

// An edit field with its spin control: the arrows stop at the spin's range, while
// the field holds any 16-bit number (a value a page shows is never changed just by
// showing it).
class RangeSpin : public QSpinBox
{
public:
    explicit RangeSpin(QWidget* parent = nullptr) : QSpinBox(parent)
    {
        setRange(std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max());
        m_low = minimum();
        m_high = maximum();
    }
    void setSpinRange(int low, int high)
    {
        m_low = low;
        m_high = high;
    }
    // The field shows the number without taking typing.
    void setTextReadOnly() { lineEdit()->setReadOnly(true); }
    int spinLow() const { return m_low; }
    int spinHigh() const { return m_high; }

    void stepBy(int steps) override { setValue(qBound(m_low, value() + steps, m_high)); }

protected:
    StepEnabled stepEnabled() const override
    {
        StepEnabled enabled = StepNone;
        if (value() < m_high)
            enabled |= StepUpEnabled;
        if (value() > m_low)
            enabled |= StepDownEnabled;
        return enabled;
    }

private:
    int m_low;
    int m_high;
};

} // namespace listgrid
