#pragma once

#include "platform/controlframework/Font.h"
#include "platform/controlframework/PropertyPage.h"
#include "platform/forms/OleColor.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QFrame;
class QLabel;
class QPushButton;

// The framework's own stock pages, which every control may offer after its own: one
// for its font properties and one for its colour properties. Each edits one property
// at a time, chosen from a list, and keeps what the user set for every property until
// Apply writes the changed ones to all selected controls.
namespace controlframework {

inline constexpr const char* StockFontPageClassId = "{7EBDAAE0-8120-11CF-899F-00AA00688B10}";
inline constexpr const char* StockColourPageClassId = "{7EBDAAE1-8120-11CF-899F-00AA00688B10}";

// The properties of font type of a control: the stock Font (-512) when it has one,
// then those the control reports (PropertyPageProvider::fontProperties).
QStringList fontPropertiesOf(const automation::ObjectRef& object);
// The same for colours: the stock BackColor (-501) and ForeColor (-513), then the
// control's own.
QStringList colourPropertiesOf(const automation::ObjectRef& object);

class StockFontPage : public PropertyPage
{
public:
    explicit StockFontPage(QWidget* parent = nullptr);

    // What the page holds for the property shown.
    FontInfo shownFont() const;

protected:
    void initDialog() override;
    void load() override;
    void save() override;

private:
    struct Entry
    {
        QString property;
        FontInfo font;
        bool changed = false;
    };
    Entry* current();
    void showEntry();
    void edited();

    QComboBox* m_propertyList;
    QFontComboBox* m_nameCombo;
    QComboBox* m_sizeCombo;
    QCheckBox* m_boldBox;
    QCheckBox* m_italicBox;
    QCheckBox* m_underlineBox;
    QCheckBox* m_strikeBox;
    QLabel* m_sample;

    std::vector<Entry> m_entries;
    bool m_showing = false;
};

class StockColourPage : public PropertyPage
{
public:
    // Asks the user for a colour starting from `initial`; nullopt when cancelled.
    // Tests put a scripted chooser in place of the colour dialog.
    using Chooser = std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;
    static void setChooser(Chooser chooser);

    explicit StockColourPage(QWidget* parent = nullptr);

    // The colour the page holds for the property shown.
    forms::OleColor shownColour() const;

    // The system colours the page offers, in its list's order, and their names.
    static const std::vector<std::pair<forms::SystemColor, const char*>>& systemColours();
    // The plain colours of the palette, left to right, top to bottom.
    static const std::vector<forms::OleColor>& paletteColours();

protected:
    void initDialog() override;
    void load() override;
    void save() override;

private:
    struct Entry
    {
        QString property;
        forms::OleColor colour = 0;
        bool changed = false;
    };
    Entry* current();
    void showEntry();
    void choose(forms::OleColor colour);
    void chooseCustom();

    QComboBox* m_propertyList;
    QComboBox* m_systemList;
    std::vector<QPushButton*> m_palette;
    QPushButton* m_customButton;
    QFrame* m_swatch;
    QLabel* m_value;

    std::vector<Entry> m_entries;
    bool m_showing = false;
};

// The forms' notation of an OLE colour: "&H8000000F&".
QString oleColourText(forms::OleColor colour);

} // namespace controlframework
