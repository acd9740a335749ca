#include "controls/listgrid/ListGridControl.h"

#include "controls/listgrid/Columns.h"
#include "controls/listgrid/DropTarget.h"
#include "controls/listgrid/Items.h"
#include "controls/listgrid/LibraryState.h"
#include "controls/listgrid/RowPacking.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTableView>
#include <QWidget>

namespace listgrid {

using automation::Args;
using basic::Variant;
using controlframework::PropertyBag;
using controlframework::PropertyExchange;

namespace {

// One counter for every list and grid window of the process: the first gets 1.
int32_t nextControlId()
{
    static int32_t last = 0;
    return ++last;
}

} // namespace

// Watches the control's widget (its placement) and the window's view (its keys).
class ListGridControl::Watcher : public QObject
{
public:
    explicit Watcher(ListGridControl& control) : m_control(control) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_control.widget() && event->type() == QEvent::Move)
            m_control.placed();
        // Keys only as the view gets them: a key it ignores goes on to the control's
        // widget, and must not be reported twice.
        else if (watched != m_control.widget() &&
                 (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
            return m_control.keyEvent(event);
        return false;
    }

private:
    ListGridControl& m_control;
};

ListGridControl::ListGridControl(bool grid) : m_lock(liveObjects()), m_grid(grid)
{
    if (grid)
        m_wnd = std::make_shared<CGridViewWnd>(this);
    else
        m_wnd = std::make_shared<CListViewWnd>(this);
    m_columns = std::make_shared<CColumns>(m_wnd);
    m_items = std::make_shared<CItems>(m_wnd);
    m_dataObjectForDrag = std::make_shared<CVBDataObject>();
    m_watcher = std::make_unique<Watcher>(*this);
    widget()->installEventFilter(m_watcher.get());
    widget()->setFocusPolicy(Qt::NoFocus);
}

ListGridControl::~ListGridControl()
{
    releaseDataControl();
    // Objects the host still holds find no control from here on.
    m_wnd->detach();
    if (widget())
        widget()->removeEventFilter(m_watcher.get());
    m_window.reset();
}

void ListGridControl::setModified() { propertyChanged(QString()); }

bool ListGridControl::isUserMode() const { return hasHost() && host().ambientUserMode(); }

void ListGridControl::repaint()
{
    if (m_window)
        m_window->view()->viewport()->update();
    else if (widget())
        widget()->update();
}

const ClientSite* ListGridControl::clientSite() const
{
    return hasHost() ? dynamic_cast<const ClientSite*>(&host()) : nullptr;
}

ClientSite* ListGridControl::clientSite() { return hasHost() ? dynamic_cast<ClientSite*>(&host()) : nullptr; }

// ---- life cycle ----

void ListGridControl::resetShared()
{
    m_dataSource = NoSource;
    m_pagedCount = 0;
    m_visibleItems = 0;
    m_alternateItems = 0;
    m_alternate[0] = colours::Back;
    m_alternate[1] = colours::Fore;
    m_alternate[2] = colours::HighlightedBack;
    m_alternate[3] = colours::HighlightedFore;
    m_autoRedraw = true;
    m_oleDragMode = 0;
    m_oleDropMode = 0;
    m_appearance = 1;
    m_borderStyle = 0;
    m_enabled = true;
    m_font = ambientFont();
    applyFont();
}

void ListGridControl::initProperties()
{
    resetProperties();
    m_columns->load({});
    createWindow();
}

void ListGridControl::readProperties(const PropertyBag& bag)
{
    PropertyExchange px(const_cast<PropertyBag&>(bag), PropertyExchange::Direction::Load, PersistVersion);
    m_refusedColumns.reset();
    exchangeStock(px);
    exchange(px);
    createWindow();
    // A damaged "Columns" block is reported once the control is whole: with its
    // window, one default column and every other property read.
    if (auto refused = std::exchange(m_refusedColumns, std::nullopt))
        throw *refused;
}

void ListGridControl::writeProperties(PropertyBag& bag) const
{
    PropertyExchange px(bag, PropertyExchange::Direction::Save, PersistVersion);
    auto& self = const_cast<ListGridControl&>(*this);
    self.exchangeStock(px);
    self.exchange(px);
}

void ListGridControl::exchangeStock(PropertyExchange& px)
{
    px.exchange(QStringLiteral("Appearance"), m_appearance, int16_t(1));
    px.exchange(QStringLiteral("BorderStyle"), m_borderStyle, int16_t(0));
    px.exchange(QStringLiteral("Enabled"), m_enabled, true);
    px.exchange(QStringLiteral("Font"), m_font, ambientFont());
    if (px.isLoading()) {
        applyEnabled();
        applyFont();
    }
}

controlframework::FontInfo ListGridControl::ambientFont() const
{
    return hasHost() ? host().ambientFont() : controlframework::FontInfo{};
}

void ListGridControl::setFont(const controlframework::FontInfo& font)
{
    m_font = font;
    applyFont();
    setModified();
}

void ListGridControl::applyFont()
{
    if (!widget())
        return;
    // The window and its editors take the font from the control's widget.
    widget()->setFont(m_font.toQFont());
    if (m_window)
        m_window->fitRowsToFont();
}

void ListGridControl::exchangeColumns(PropertyExchange& px)
{
    QByteArray block;
    if (px.isLoading()) {
        px.exchangeBinary(QStringLiteral("Columns"), block);
        try {
            m_columns->load(block);
        } catch (const basic::RuntimeError& e) {
            m_refusedColumns = e;
            m_columns->load({});
        }
    } else {
        block = m_columns->save();
        px.exchangeBinary(QStringLiteral("Columns"), block);
    }
}

void ListGridControl::createWindow()
{
    if (m_window)
        return;
    // The style the window is created with (the grid's paged bit is taken here).
    m_style = styleBits();
    m_window = vllist::ListWindow::create(QLatin1String(m_grid ? vllist::GridViewClass : vllist::ListViewClass), this,
                                          widget());
    m_controlId = nextControlId();
    m_window->setWindowStyle(m_style);
    m_window->setGeometry(widget()->rect());
    m_window->view()->installEventFilter(m_watcher.get());
    registerDropTarget();
    widget()->setFocusProxy(m_window->view());
    m_window->show();
    configureNewWindow();
    m_refreshed = false;
    placed();
}

void ListGridControl::resize()
{
    if (m_window)
        m_window->setGeometry(widget()->rect());
}

void ListGridControl::show()
{
    if (!m_initialised && !m_frozen)
        freezeEvents(false);
}

void ListGridControl::freezeEvents(bool freeze)
{
    m_frozen = freeze;
    if (freeze || m_initialised || !m_window)
        return;
    m_initialised = true;
    try {
        firstUnfreeze();
    } catch (const basic::RuntimeError&) {
        // A data source that cannot be bound leaves the control unbound; there is no
        // caller here to tell.
    }
}

void ListGridControl::updateStyle()
{
    m_style = styleBits();
    if (m_window)
        m_window->setWindowStyle(m_style);
    m_wnd->RefreshStyle();
    repaint();
}

// ---- placement, Enabled ----

void ListGridControl::placed()
{
    if (!isUserMode() || !widget())
        return;
    const QRect g = widget()->geometry();
    // Wholly left of the container's origin, as a hidden tab page places it.
    const bool away = g.left() < 0 && g.left() + g.width() < 0;
    if (away == m_placedAway)
        return;
    m_placedAway = away;
    applyEnabled();
}

void ListGridControl::applyEnabled()
{
    m_enabledBusy = true;
    widget()->setEnabled(m_enabled && !m_placedAway);
    m_enabledBusy = false;
}

void ListGridControl::setEnabled(bool enabled)
{
    if (m_enabledBusy)
        return;
    m_enabled = enabled;
    applyEnabled();
    setModified();
}

void ListGridControl::setAppearance(int16_t value)
{
    m_appearance = value;
    if (m_window)
        m_window->view()->setFrameShape(value ? QFrame::StyledPanel : QFrame::Box);
    setModified();
}

void ListGridControl::setBorderStyle(int16_t value)
{
    m_borderStyle = value;
    setModified();
}

void ListGridControl::setMousePointerValue(int32_t value)
{
    m_mousePointer = value;
    // The window under the pointer shows it: its own rule decides which is busy.
    m_wnd->SetMousePointer(value);
}

// ---- shared properties ----

void ListGridControl::setPagedCount(int32_t count)
{
    m_pagedCount = count;
    m_wnd->SetVirtualRowCount(count);
    setModified();
    repaint();
}

void ListGridControl::setVisibleItems(int32_t count)
{
    m_visibleItems = count;
    m_wnd->SetVisibleRows(count);
    setModified();
    repaint();
}

void ListGridControl::sendAlternateColours()
{
    const vllist::ColourQuartet quartet{windowColour(m_alternate[0], colours::Back),
                                        windowColour(m_alternate[1], colours::Fore),
                                        windowColour(m_alternate[2], colours::HighlightedBack),
                                        windowColour(m_alternate[3], colours::HighlightedFore)};
    m_wnd->SetAlternateColours(m_alternateItems, quartet);
}

void ListGridControl::setAlternateItems(int16_t count)
{
    m_alternateItems = count;
    sendAlternateColours();
    setModified();
}

void ListGridControl::setAlternateColour(int slot, uint32_t colour)
{
    m_alternate[slot] = colour;
    sendAlternateColours();
    setModified();
}

void ListGridControl::setAutoRedraw(bool on)
{
    m_autoRedraw = on;
    m_wnd->SetRedraw(on);
    setModified();
}

void ListGridControl::setOleDragMode(int16_t mode)
{
    m_oleDragMode = mode;
    m_wnd->SetDragEnabled(mode != 0);
    setModified();
}

void ListGridControl::setOleDropMode(int16_t mode)
{
    m_oleDropMode = mode;
    setModified();
}

// ---- data sources ----

vldata::DataControlInterface* ListGridControl::dataControlOf(const basic::ObjectRef& object) const
{
    // Only a data control gives its interface; anything else set as the source is refused.
    auto* data = dynamic_cast<vldata::DataControlInterface*>(object.get());
    if (!data)
        throw basic::RuntimeError(DataSourceInvalid, QStringLiteral("Data Source is not valid"), className());
    return data;
}

void ListGridControl::setDataSource(const Variant& value)
{
    if (value.isObject()) {
        const basic::ObjectRef& object = value.objectValue();
        if (!object) {
            // Nothing: the control lets go of what it was bound to.
            if (m_data) {
                releaseDataControl();
                releasedByModeChange();
            }
            refresh();
            return;
        }
        vldata::DataControlInterface* data = dataControlOf(object);
        if (!isUserMode())
            return;
        bindDataControl(object, data);
        refresh();
        return;
    }
    const QString name = basic::CStr(value);
    m_dataSource = name; // read back as set, "" too
    propertyChanged(QStringLiteral("DataSource"));
    connectByName();
    setModified();
}

void ListGridControl::connectByName()
{
    if (!isUserMode())
        return;
    basic::ObjectRef found;
    if (m_dataSource != NoSource && m_dataSource != PagedSource)
        found = FindContainerControl(m_dataSource, QLatin1String(DataControlClassId), clientSite());
    auto* data = dynamic_cast<vldata::DataControlInterface*>(found.get());
    if (data) {
        bindDataControl(found, data);
    } else if (m_data) {
        // Another mode (or a name that matches nothing) lets go of the data control.
        releaseDataControl();
        releasedByModeChange();
    }
    refresh();
}

bool ListGridControl::keepDataControl(basic::ObjectRef object, vldata::DataControlInterface* data)
{
    releaseDataControl();
    m_dataObject = std::move(object);
    m_data = data;
    if (m_data->GetFieldLayout(m_layout) < 0 || !m_layout) {
        m_layout.reset();
        return false;
    }
    return true;
}

void ListGridControl::releaseDataControl()
{
    m_layout.reset();
    m_data = nullptr;
    m_dataObject.reset();
}

bool ListGridControl::readFieldInfo(const QString& dataField, FieldInfo& info)
{
    if (dataField.isEmpty() || dataField == NoSource)
        return false;
    try {
        if (!m_data)
            connectByName();
    } catch (const basic::RuntimeError&) {
        return false;
    }
    if (!m_data)
        return false;
    std::shared_ptr<vldata::FieldLayout> layout = m_layout;
    if (!layout && m_data->GetFieldLayout(layout) < 0)
        return false;
    const vldata::Field* field = layout ? layout->fieldByPath(dataField) : nullptr;
    if (!field)
        return false;
    info.size = field->size;
    info.sqlType = field->sqlType;
    info.decimalPlaces = field->decimalPlaces;
    return true;
}

void ListGridControl::packCurrentRecord(std::vector<char>& row, bool& deleted)
{
    std::fill(row.begin(), row.end(), char(0));
    int32_t status = 0;
    m_data->ReadRecord(status);
    deleted = (status & 1) != 0;
    if (!deleted && m_layout)
        packRecord(*m_columns, *m_layout, row);
}

int32_t ListGridControl::refresh()
{
    vllist::PagedProc proc = nullptr;
    if (m_columns->count() > 0) {
        const bool pagesBound = m_data && pagesBoundRows();
        int32_t count = m_pagedCount;
        if (pagesBound)
            m_data->GetRecordCount(count);
        m_wnd->SetVirtualRowCount(count);
        if (pagesBound || isPaged())
            proc = pagedProc();
    }
    m_wnd->SetPagedUserData(reinterpret_cast<vllist::LParam>(this));
    const int32_t result = m_wnd->SetPagedProc(proc);
    m_refreshed = true;
    return result;
}

// ---- events and notifications ----

void ListGridControl::windowCommand(vllist::Window&, uint16_t code)
{
    if (m_frozen)
        return;
    try {
        notification(code);
    } catch (const basic::RuntimeError&) {
        // Nothing throws back into the window; the notification ends here.
    }
}

void ListGridControl::fire(automation::DispId id, const char* name, Args args) { fireByRef(id, name, args); }

void ListGridControl::fireByRef(automation::DispId id, const char* name, Args& args)
{
    try {
        raiseEvent(id, QLatin1String(name), args);
    } catch (const basic::RuntimeError&) {
        // The host's handler failed; the control carries on.
    }
}

int16_t ListGridControl::shiftState() { return shiftState(QGuiApplication::queryKeyboardModifiers()); }

int16_t ListGridControl::shiftState(Qt::KeyboardModifiers m)
{
    return int16_t(((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) |
                   ((m & Qt::AltModifier) ? 4 : 0));
}

void ListGridControl::moveFocusByTabIndex(bool backward)
{
    ClientSite* site = clientSite();
    if (!site || !hasHost())
        return;
    // The extended control: the container's entry for this control.
    for (const auto& object : site->containerObjects())
        if (object.object.get() == this) {
            MoveFocusByTabIndex(object.extended, site, backward);
            return;
        }
}

namespace {

// The virtual-key codes of the keys that are no character of their own (letters and
// digits are their capital character's code, as Qt's keys are).
const std::pair<int, int16_t> virtualKeys[] = {
    {Qt::Key_Backspace, 8},  {Qt::Key_Tab, 9},       {Qt::Key_Backtab, 9},     {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},     {Qt::Key_Shift, 16},    {Qt::Key_Control, 17},    {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},     {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},     {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},    {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},        {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},      {Qt::Key_Up, 38},       {Qt::Key_Right, 39},      {Qt::Key_Down, 40},
    {Qt::Key_Print, 44},     {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},     {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},  {Qt::Key_ScrollLock, 145}, {Qt::Key_Semicolon, 186}, {Qt::Key_Equal, 187},
    {Qt::Key_Comma, 188},    {Qt::Key_Minus, 189},   {Qt::Key_Period, 190},    {Qt::Key_Slash, 191},
    {Qt::Key_QuoteLeft, 192}, {Qt::Key_BracketLeft, 219}, {Qt::Key_Backslash, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_Apostrophe, 222},
};

int16_t virtualKey(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return int16_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return int16_t(112 + (key - Qt::Key_F1));
    for (const auto& [qtKey, code] : virtualKeys)
        if (qtKey == key)
            return code;
    return 0;
}

// KeyPress is raised for the printable Latin-1 characters and for Backspace,
// Enter and Escape.
bool isKeyPressCharacter(char16_t c) { return (c >= 0x20 && c <= 0xFF) || c == 8 || c == 13 || c == 27; }

} // namespace

bool ListGridControl::keyEvent(QEvent* event)
{
    auto* key = static_cast<QKeyEvent*>(event);
    const int16_t code = virtualKey(key->key());
    const int16_t shift = shiftState(key->modifiers());
    if (event->type() == QEvent::KeyRelease) {
        if (!key->isAutoRepeat())
            fire(-604, "KeyUp", Args{Variant(code), Variant(shift)});
        return false;
    }
    fire(-602, "KeyDown", Args{Variant(code), Variant(shift)});
    const QString text = key->text();
    if (text.size() != 1 || !isKeyPressCharacter(text.at(0).unicode()))
        return false;
    Args args{Variant(int16_t(text.at(0).unicode()))};
    fireByRef(-603, "KeyPress", args);
    const int16_t ascii = basic::CInt(args.at(0));
    if (ascii == 0)
        return true; // the host swallowed the character
    m_wnd->SendTypedChar(uint16_t(ascii));
    return false;
}

// Drag and drop: DragDrop.cpp.

} // namespace listgrid
