#include "platform/controlframework/StockPages.h"

#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/Control.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace controlframework {

namespace {

// The stock member of that name, when the object has it under its stock DISPID.
bool hasStock(const automation::ObjectRef& object, const char* name, automation::DispId id)
{
    try {
        return object->idOfName(QLatin1String(name)) == id;
    } catch (const basic::RuntimeError&) {
        return false;
    }
}

QStringList typedProperties(const automation::ObjectRef& object,
                            std::initializer_list<std::pair<const char*, automation::DispId>> stock,
                            QStringList (PropertyPageProvider::*reported)() const)
{
    QStringList names;
    if (!object)
        return names;
    for (const auto& [name, id] : stock)
        if (hasStock(object, name, id))
            names << QLatin1String(name);
    if (const auto* provider = dynamic_cast<const PropertyPageProvider*>(object.get()))
        for (const QString& name : (provider->*reported)())
            if (!names.contains(name, Qt::CaseInsensitive))
                names << name;
    return names;
}

QComboBox* propertyList(QWidget* page)
{
    auto* list = new QComboBox(page);
    list->setObjectName(QStringLiteral("Property"));
    list->setMinimumContentsLength(24);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return list;
}

QLabel* buddyLabel(const char* text, QWidget* buddy)
{
    auto* label = new QLabel(QLatin1String(text), buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

QPixmap swatchPixmap(const QColor& colour, const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

StockColourPage::Chooser& chooser()
{
    static StockColourPage::Chooser chooser = [](const QColor& initial, QWidget* parent) -> std::optional<QColor> {
        const QColor colour = QColorDialog::getColor(initial, parent, QStringLiteral("Color"));
        return colour.isValid() ? std::optional<QColor>(colour) : std::nullopt;
    };
    return chooser;
}

} // namespace

QStringList fontPropertiesOf(const automation::ObjectRef& object)
{
    return typedProperties(object, {{"Font", -512}}, &PropertyPageProvider::fontProperties);
}

QStringList colourPropertiesOf(const automation::ObjectRef& object)
{
    return typedProperties(object, {{"BackColor", -501}, {"ForeColor", -513}}, &PropertyPageProvider::colourProperties);
}

QString oleColourText(forms::OleColor colour)
{
    return QStringLiteral("&H%1&").arg(colour, 8, 16, QLatin1Char('0')).toUpper();
}

// ---- font ----

StockFontPage::StockFontPage(QWidget* parent) : PropertyPage(QStringLiteral("Font"), parent)
{
    m_propertyList = propertyList(this);
    m_nameCombo = new QFontComboBox(this);
    m_nameCombo->setObjectName(QStringLiteral("Name"));
    m_sizeCombo = new QComboBox(this);
    m_sizeCombo->setObjectName(QStringLiteral("Size"));
    m_sizeCombo->setEditable(true);
    m_sizeCombo->setInsertPolicy(QComboBox::NoInsert);
    m_sizeCombo->setMinimumContentsLength(6);
    m_sizeCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        m_sizeCombo->addItem(QString::number(size));
    auto box = [this](const char* name, const char* text) {
        auto* check = new QCheckBox(QLatin1String(text), this);
        check->setObjectName(QLatin1String(name));
        connect(check, &QCheckBox::toggled, this, [this] { edited(); });
        return check;
    };
    m_boldBox = box("Bold", "Bold");
    m_italicBox = box("Italic", "Italic");
    m_underlineBox = box("Underline", "Underline");
    m_strikeBox = box("Strikethrough", "Strikethrough");

    auto* sampleBox = new QGroupBox(QStringLiteral("Sample"), this);
    m_sample = new QLabel(QStringLiteral("AaBbYyZz"), sampleBox);
    m_sample->setObjectName(QStringLiteral("Sample"));
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumHeight(56);
    (new QVBoxLayout(sampleBox))->addWidget(m_sample);

    auto* grid = new QGridLayout(this);
    grid->addWidget(buddyLabel("Property Name:", m_propertyList), 0, 0);
    grid->addWidget(m_propertyList, 0, 1, 1, 3);
    grid->addWidget(buddyLabel("Font:", m_nameCombo), 1, 0);
    grid->addWidget(m_nameCombo, 1, 1);
    grid->addWidget(buddyLabel("Size:", m_sizeCombo), 1, 2);
    grid->addWidget(m_sizeCombo, 1, 3);
    auto* effects = new QGroupBox(QStringLiteral("Effects"), this);
    auto* effectsLayout = new QVBoxLayout(effects);
    for (QCheckBox* check : {m_boldBox, m_italicBox, m_underlineBox, m_strikeBox}) {
        check->setParent(effects);
        effectsLayout->addWidget(check);
    }
    auto* lower = new QHBoxLayout;
    lower->addWidget(effects, 1);
    lower->addWidget(sampleBox, 2);
    grid->addLayout(lower, 2, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    grid->setHorizontalSpacing(12);

    connect(m_propertyList, &QComboBox::currentIndexChanged, this, [this] { showEntry(); });
    connect(m_nameCombo, &QComboBox::currentTextChanged, this, [this] { edited(); });
    connect(m_sizeCombo, &QComboBox::currentTextChanged, this, [this] { edited(); });
}

void StockFontPage::initDialog()
{
    m_entries.clear();
    for (const QString& property : fontPropertiesOf(firstObject()))
        m_entries.push_back({property, {}, false});
    m_showing = true;
    m_propertyList->clear();
    for (const Entry& entry : m_entries)
        m_propertyList->addItem(entry.property);
    m_showing = false;
}

void StockFontPage::load()
{
    for (Entry& entry : m_entries) {
        if (const auto value = readProperty(entry.property))
            if (const auto font = fontOf(*value))
                entry.font = *font;
        entry.changed = false;
    }
    showEntry();
}

void StockFontPage::save()
{
    for (Entry& entry : m_entries) {
        if (!entry.changed)
            continue;
        writeProperty(entry.property, makeFont(entry.font));
        entry.changed = false;
    }
}

StockFontPage::Entry* StockFontPage::current()
{
    const int at = m_propertyList->currentIndex();
    return at >= 0 && at < int(m_entries.size()) ? &m_entries[size_t(at)] : nullptr;
}

FontInfo StockFontPage::shownFont() const
{
    const Entry* entry = const_cast<StockFontPage*>(this)->current();
    return entry ? entry->font : FontInfo{};
}

void StockFontPage::showEntry()
{
    const Entry* entry = current();
    const FontInfo font = entry ? entry->font : FontInfo{};
    m_showing = true;
    // A face the font list lacks is shown as text and kept, not replaced by the
    // list's nearest entry.
    const int face = m_nameCombo->findText(font.name, Qt::MatchFixedString);
    if (face >= 0)
        m_nameCombo->setCurrentIndex(face);
    m_nameCombo->setEditText(font.name);
    m_sizeCombo->setEditText(QString::number(font.size));
    m_boldBox->setChecked(font.bold);
    m_italicBox->setChecked(font.italic);
    m_underlineBox->setChecked(font.underline);
    m_strikeBox->setChecked(font.strikethrough);
    m_sample->setFont(font.toQFont());
    m_showing = false;
    for (QWidget* w : std::initializer_list<QWidget*>{m_nameCombo, m_sizeCombo, m_boldBox, m_italicBox,
                                                       m_underlineBox, m_strikeBox})
        w->setEnabled(entry != nullptr);
}

void StockFontPage::edited()
{
    Entry* entry = current();
    if (m_showing || isLoading() || !entry)
        return;
    FontInfo font = entry->font;
    const QString name = m_nameCombo->currentText().trimmed();
    if (!name.isEmpty())
        font.name = name;
    // A size being typed that is not (yet) a size keeps the last one.
    bool ok = false;
    const double size = m_sizeCombo->currentText().trimmed().toDouble(&ok);
    if (ok && size > 0 && size <= 2048)
        font.size = size;
    font.bold = m_boldBox->isChecked();
    font.italic = m_italicBox->isChecked();
    font.underline = m_underlineBox->isChecked();
    font.strikethrough = m_strikeBox->isChecked();
    if (font == entry->font)
        return;
    entry->font = font;
    entry->changed = true;
    m_sample->setFont(font.toQFont());
    setModified();
}

// ---- colour ----

void StockColourPage::setChooser(Chooser c) { chooser() = std::move(c); }

const std::vector<std::pair<forms::SystemColor, const char*>>& StockColourPage::systemColours()
{
    using S = forms::SystemColor;
    static const std::vector<std::pair<S, const char*>> colours{
        {S::ScrollBar, "Scroll Bar"},
        {S::Background, "Desktop"},
        {S::ActiveCaption, "Active Caption"},
        {S::InactiveCaption, "Inactive Caption"},
        {S::Menu, "Menu"},
        {S::Window, "Window"},
        {S::WindowFrame, "Window Frame"},
        {S::MenuText, "Menu Text"},
        {S::WindowText, "Window Text"},
        {S::CaptionText, "Caption Text"},
        {S::ActiveBorder, "Active Border"},
        {S::InactiveBorder, "Inactive Border"},
        {S::AppWorkspace, "Application Workspace"},
        {S::Highlight, "Highlight"},
        {S::HighlightText, "Highlight Text"},
        {S::ButtonFace, "Button Face"},
        {S::ButtonShadow, "Button Shadow"},
        {S::GrayText, "Gray Text"},
        {S::ButtonText, "Button Text"},
        {S::InactiveCaptionText, "Inactive Caption Text"},
        {S::ButtonHighlight, "Button Highlight"},
        {S::DarkShadow3D, "3D Dark Shadow"},
        {S::Light3D, "3D Light"},
        {S::InfoText, "Tooltip Text"},
        {S::InfoBackground, "Tooltip"},
    };
    return colours;
}

const std::vector<forms::OleColor>& StockColourPage::paletteColours()
{
    using forms::rgbOleColor;
    static const std::vector<forms::OleColor> colours{
        rgbOleColor(0, 0, 0),       rgbOleColor(128, 0, 0),     rgbOleColor(0, 128, 0),   rgbOleColor(128, 128, 0),
        rgbOleColor(0, 0, 128),     rgbOleColor(128, 0, 128),   rgbOleColor(0, 128, 128), rgbOleColor(128, 128, 128),
        rgbOleColor(192, 192, 192), rgbOleColor(255, 0, 0),     rgbOleColor(0, 255, 0),   rgbOleColor(255, 255, 0),
        rgbOleColor(0, 0, 255),     rgbOleColor(255, 0, 255),   rgbOleColor(0, 255, 255), rgbOleColor(255, 255, 255),
    };
    return colours;
}

StockColourPage::StockColourPage(QWidget* parent) : PropertyPage(QStringLiteral("Color"), parent)
{
    m_propertyList = propertyList(this);
    m_systemList = new QComboBox(this);
    m_systemList->setObjectName(QStringLiteral("SystemColor"));
    for (const auto& [index, name] : systemColours())
        m_systemList->addItem(QIcon(swatchPixmap(forms::toQColor(forms::systemOleColor(index)), QSize(16, 12))),
                              QLatin1String(name));

    auto* paletteBox = new QGroupBox(QStringLiteral("Palette"), this);
    auto* paletteGrid = new QGridLayout(paletteBox);
    paletteGrid->setSpacing(3);
    const int columns = 8;
    for (size_t i = 0; i < paletteColours().size(); ++i) {
        const forms::OleColor colour = paletteColours()[i];
        auto* button = new QPushButton(paletteBox);
        button->setObjectName(QStringLiteral("Palette%1").arg(i));
        button->setToolTip(oleColourText(colour));
        button->setIcon(QIcon(swatchPixmap(forms::toQColor(colour), QSize(18, 14))));
        button->setIconSize(QSize(18, 14));
        button->setFixedSize(28, 22);
        connect(button, &QPushButton::clicked, this, [this, colour] { choose(colour); });
        paletteGrid->addWidget(button, int(i) / columns, int(i) % columns);
        m_palette.push_back(button);
    }
    m_customButton = new QPushButton(QStringLiteral("Custom Color..."), this);
    m_customButton->setObjectName(QStringLiteral("Custom"));

    m_swatch = new QFrame(this);
    m_swatch->setObjectName(QStringLiteral("Swatch"));
    m_swatch->setFrameShape(QFrame::Box);
    m_swatch->setAutoFillBackground(true);
    m_swatch->setFixedSize(48, 24);
    m_value = new QLabel(this);
    m_value->setObjectName(QStringLiteral("Value"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(buddyLabel("Property Name:", m_propertyList), 0, 0);
    grid->addWidget(m_propertyList, 0, 1);
    grid->addWidget(buddyLabel("System Color:", m_systemList), 1, 0);
    grid->addWidget(m_systemList, 1, 1);
    grid->addWidget(paletteBox, 2, 0, 1, 2);
    auto* shown = new QHBoxLayout;
    shown->setSpacing(8);
    shown->addWidget(new QLabel(QStringLiteral("Color:"), this));
    shown->addWidget(m_swatch);
    shown->addWidget(m_value);
    shown->addStretch();
    shown->addWidget(m_customButton);
    grid->addLayout(shown, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    grid->setHorizontalSpacing(12);

    connect(m_propertyList, &QComboBox::currentIndexChanged, this, [this] { showEntry(); });
    connect(m_systemList, &QComboBox::currentIndexChanged, this, [this](int at) {
        if (at >= 0 && at < int(systemColours().size()))
            choose(forms::systemOleColor(systemColours()[size_t(at)].first));
    });
    connect(m_customButton, &QPushButton::clicked, this, [this] { chooseCustom(); });
}

void StockColourPage::initDialog()
{
    m_entries.clear();
    for (const QString& property : colourPropertiesOf(firstObject()))
        m_entries.push_back({property, 0, false});
    m_showing = true;
    m_propertyList->clear();
    for (const Entry& entry : m_entries)
        m_propertyList->addItem(entry.property);
    m_showing = false;
}

void StockColourPage::load()
{
    for (Entry& entry : m_entries) {
        if (const auto value = readProperty(entry.property)) {
            try {
                entry.colour = toOleColor(*value);
            } catch (const basic::RuntimeError&) {
                // A value that is no colour keeps what the page had.
            }
        }
        entry.changed = false;
    }
    showEntry();
}

void StockColourPage::save()
{
    for (Entry& entry : m_entries) {
        if (!entry.changed)
            continue;
        writeProperty(entry.property, fromOleColor(entry.colour));
        entry.changed = false;
    }
}

StockColourPage::Entry* StockColourPage::current()
{
    const int at = m_propertyList->currentIndex();
    return at >= 0 && at < int(m_entries.size()) ? &m_entries[size_t(at)] : nullptr;
}

forms::OleColor StockColourPage::shownColour() const
{
    const Entry* entry = const_cast<StockColourPage*>(this)->current();
    return entry ? entry->colour : 0;
}

void StockColourPage::showEntry()
{
    const Entry* entry = current();
    m_showing = true;
    int system = -1;
    if (entry && forms::isSystemColor(entry->colour))
        for (size_t i = 0; i < systemColours().size(); ++i)
            if (forms::systemOleColor(systemColours()[i].first) == entry->colour)
                system = int(i);
    m_systemList->setCurrentIndex(system);
    QPalette palette = m_swatch->palette();
    palette.setColor(QPalette::Window, entry ? forms::toQColor(entry->colour) : palette.color(QPalette::Window));
    m_swatch->setPalette(palette);
    m_value->setText(entry ? oleColourText(entry->colour) : QString());
    m_showing = false;
    m_systemList->setEnabled(entry != nullptr);
    m_customButton->setEnabled(entry != nullptr);
    for (QPushButton* button : m_palette)
        button->setEnabled(entry != nullptr);
}

void StockColourPage::choose(forms::OleColor colour)
{
    Entry* entry = current();
    if (m_showing || isLoading() || !entry || entry->colour == colour)
        return;
    entry->colour = colour;
    entry->changed = true;
    showEntry();
    setModified();
}

void StockColourPage::chooseCustom()
{
    const Entry* entry = current();
    if (!entry)
        return;
    if (const auto colour = chooser()(forms::toQColor(entry->colour), this); colour && colour->isValid())
        choose(forms::fromQColor(*colour));
}

} // namespace controlframework
