#pragma once

#include "controls/listgrid/ContainerHelpers.h"
#include "controls/listgrid/DataObject.h"
#include "controls/listgrid/ListControlHost.h"
#include "controls/listgrid/ListViewWnd.h"

#include "package/datacontrol/DataControlInterface.h"
#include "package/listwindow/ListWindow.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/Control.h"
#include "platform/controlframework/PropertyExchange.h"
#include "platform/controlframework/PropertyPage.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <initializer_list>
#include <utility>
#include <memory>
#include <optional>

namespace listgrid {

class CColumns;
class CItems;

// What the list and the grid control share: the outside window and its wrapper, the
// columns and items, the three data modes (host rows, paged, bound), the window's
// creation and placement, the stock members, events and the notifications the
// window sends. The two controls add their own members, style bits, persistence
// order and notification tables.
class ListGridControl : public controlframework::Control, public ListControlHost, public vllist::WindowOwner,
                        public controlframework::PerPropertyBrowsing, public controlframework::PropertyPageProvider
{
public:
    static inline const QString NoSource = QStringLiteral("None");
    static inline const QString PagedSource = QStringLiteral("Paged Data");
    static constexpr uint32_t PersistVersion = 0x10000;
    // 0x800A0035, raised to the caller when a data source cannot be bound.
    static constexpr int32_t DataSourceInvalid = int32_t(0x800A0035u);

    ~ListGridControl() override;

    // ListControlHost
    vllist::Window* listWindow() const override { return m_window.get(); }
    void setModified() override;
    bool isUserMode() const override;
    bool isAutoRedraw() const override { return m_autoRedraw; }
    std::shared_ptr<CColumns> columns() const override { return m_columns; }
    void repaint() override;
    bool readFieldInfo(const QString& dataField, FieldInfo& info) override;

    // WindowOwner: the window's notifications, ignored while events are frozen.
    void windowCommand(vllist::Window& window, uint16_t code) override;

    // Life cycle.
    void initProperties() override;
    void readProperties(const controlframework::PropertyBag& bag) override;
    void writeProperties(controlframework::PropertyBag& bag) const override;
    void resize() override;
    void show() override;

    // The container freezes and unfreezes events; the first unfreeze with a window
    // connects the data source. A container that never freezes gets it at the
    // first Show.
    void freezeEvents(bool freeze);
    bool eventsFrozen() const { return m_frozen; }

    vllist::ListWindow* window() const { return m_window.get(); }
    const std::shared_ptr<CListViewWnd>& wrapper() const { return m_wnd; }
    const std::shared_ptr<CItems>& items() const { return m_items; }
    int32_t controlId() const { return m_controlId; }
    bool isBound() const { return m_data != nullptr; }
    bool isPaged() const { return m_dataSource == PagedSource; }

    // Properties both controls have.
    basic::Variant dataSource() const { return basic::Variant(m_dataSource); }
    void setDataSource(const basic::Variant& value);
    int32_t pagedCount() const { return m_pagedCount; }
    void setPagedCount(int32_t count);
    int32_t visibleItems() const { return m_visibleItems; }
    void setVisibleItems(int32_t count);
    int16_t alternateItems() const { return m_alternateItems; }
    void setAlternateItems(int16_t count);
    uint32_t alternateColour(int slot) const { return m_alternate[slot]; }
    void setAlternateColour(int slot, uint32_t colour);
    void setAutoRedraw(bool on);
    int16_t oleDragMode() const { return m_oleDragMode; }
    void setOleDragMode(int16_t mode);
    int16_t oleDropMode() const { return m_oleDropMode; }
    void setOleDropMode(int16_t mode);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int16_t appearance() const { return m_appearance; }
    void setAppearance(int16_t value);
    int16_t borderStyle() const { return m_borderStyle; }
    void setBorderStyle(int16_t value);
    // The stock Font: the ambient font until one is set.
    const controlframework::FontInfo& font() const { return m_font; }
    void setFont(const controlframework::FontInfo& font);
    int32_t mousePointerValue() const { return m_mousePointer; }
    void setMousePointerValue(int32_t value);
    // Refresh: the row count and paged callback for the current mode; the result of 0x1403.
    int32_t refresh();

    // Drag and drop: OLEDrag, and the automatic drag of a row pressed and moved
    // (OLEDragMode 2). The platform's drag loop takes the drag's mime data and the allowed effects
    // and gives the final effect; tests put a scripted loop in its place.
    using DragLoop = std::function<int32_t(ListGridControl& source, int32_t allowedEffects)>;
    static void setDragLoop(DragLoop loop);
    void oleDrag();
    const std::shared_ptr<CVBDataObject>& dataObject() const { return m_dataObjectForDrag; }
    // The mime data of the drag this control runs (null outside one): what the loop
    // hands to the target.
    QMimeData* dragMimeData() const { return m_dragMime; }
    const ControlDataSource& dragSource() const { return m_source; }
    // During the drag loop, at each change of the effect: OLEGiveFeedback; true when
    // the default cursors are to be used.
    bool giveFeedback(int32_t effect);
    // The drop target: the drag events Qt delivers to the window's rows.
    bool dropTargetEvent(QEvent* event);

    // The control's window style word (what it last gave the window).
    uint32_t style() const { return m_style; }

    // Design time (PropertyBrowsing.cpp): the property pages offered, and the
    // display strings and predefined values of the property browser.
    QStringList propertyPageIds() const override;
    QStringList colourProperties() const override;
    bool displayString(automation::DispId id, QString& text) override;
    bool predefinedStrings(automation::DispId id, QStringList& strings, std::vector<uint32_t>& cookies) override;
    bool predefinedValue(automation::DispId id, uint32_t cookie, basic::Variant& value) override;
    bool isGrid() const { return m_grid; }

protected:
    explicit ListGridControl(bool grid);

    // Per class.
    struct DragEvents
    {
        automation::DispId startDrag, completeDrag, dragDrop, dragOver, giveFeedback;
    };
    virtual DragEvents dragEvents() const = 0;
    virtual void resetProperties() = 0;
    virtual void exchange(controlframework::PropertyExchange& px) = 0;
    virtual uint32_t styleBits() const = 0;
    virtual void configureNewWindow() = 0;
    virtual void notification(uint16_t code) = 0;
    virtual vllist::PagedProc pagedProc() const = 0;
    virtual void bindDataControl(basic::ObjectRef object, vldata::DataControlInterface* data) = 0;
    virtual void releasedByModeChange() {}
    // The list pages its bound rows through the callback; the grid reads them all at
    // once, so its rows are its own and no callback may replace them.
    virtual bool pagesBoundRows() const { return true; }
    virtual void firstUnfreeze() = 0;

    // The style bits of the flags that are set.
    static uint32_t flagBits(std::initializer_list<std::pair<bool, uint32_t>> flags)
    {
        uint32_t bits = 0;
        for (const auto& [on, bit] : flags)
            bits |= on ? bit : 0;
        return bits;
    }

    // Shared parts of the persistence (the stock properties; the columns block).
    void exchangeStock(controlframework::PropertyExchange& px);
    void exchangeColumns(controlframework::PropertyExchange& px);
    void resetShared();

    // The window: created once after the properties are in.
    void createWindow();
    void updateStyle();
    void sendAlternateColours();
    void connectByName();
    // Keeps the data control and its layout; false (nothing kept) when it gives none.
    bool keepDataControl(basic::ObjectRef object, vldata::DataControlInterface* data);
    void releaseDataControl();
    // The object set as DataSource as the data control interface; raises
    // "Data Source is not valid" for any other object.
    vldata::DataControlInterface* dataControlOf(const basic::ObjectRef& object) const;
    // Packs the data control's current record (or a deleted one, empty) into `row`.
    void packCurrentRecord(std::vector<char>& row, bool& deleted);
    const ClientSite* clientSite() const;
    ClientSite* clientSite();

    // Events: raised only with a host, never throwing into the window.
    void fire(automation::DispId id, const char* name, automation::Args args = {});
    // The same, with by-reference arguments written back into `args`.
    void fireByRef(automation::DispId id, const char* name, automation::Args& args);
    // The Shift argument of the events: 1 Shift, 2 Ctrl, 4 Alt; the keys held now,
    // or those an event carries.
    static int16_t shiftState();
    static int16_t shiftState(Qt::KeyboardModifiers modifiers);
    void moveFocusByTabIndex(bool backward);
    // After the left click in OLEDragMode 2: the drag starts once the pointer, the
    // button still held, has moved far enough from the press; a plain click drags nothing.
    void armAutomaticDrag();

    std::shared_ptr<CListViewWnd> m_wnd;
    std::shared_ptr<CColumns> m_columns;
    std::shared_ptr<CItems> m_items;
    std::unique_ptr<vllist::ListWindow> m_window;

    QString m_dataSource = NoSource;
    int32_t m_pagedCount = 0;
    int32_t m_visibleItems = 0;
    int16_t m_alternateItems = 0;
    uint32_t m_alternate[4] = {colours::Back, colours::Fore, colours::HighlightedBack, colours::HighlightedFore};
    bool m_autoRedraw = true;
    int16_t m_oleDragMode = 0;
    int16_t m_oleDropMode = 0;
    int16_t m_appearance = 1;
    int16_t m_borderStyle = 0;
    int32_t m_mousePointer = 1;
    controlframework::FontInfo m_font;
    bool m_enabled = true;

    // The bound data control, its layout.
    basic::ObjectRef m_dataObject;
    vldata::DataControlInterface* m_data = nullptr;
    std::shared_ptr<vldata::FieldLayout> m_layout;

    // Drag and drop: the data source, the data object the events carry, the
    // running drag's mime data, and what a drag over this control brings.
    ControlDataSource m_source;
    std::shared_ptr<CVBDataObject> m_dataObjectForDrag;
    QPointer<QMimeData> m_dragMime;
    bool m_dragging = false;
    // The left press in the rows (while the button is down) and whether a drag waits on it.
    std::optional<QPoint> m_pressedAt;
    bool m_dragArmed = false;
    std::unique_ptr<DropData> m_incoming;
    int32_t m_dropEffect = 0;

    // The refusal of a damaged "Columns" block while the properties are read.
    std::optional<basic::RuntimeError> m_refusedColumns;

    bool m_frozen = false;
    bool m_initialised = false;
    bool m_refreshed = false;
    bool m_enabledBusy = false;
    bool m_placedAway = false;
    uint32_t m_style = 0;
    int32_t m_controlId = 0;

    // The keys the window's view receives: KeyDown, KeyPress, KeyUp; true swallows.
    virtual bool keyEvent(QEvent* event);

private:
    class Watcher;
    class DropTarget;
    void placed();
    void registerDropTarget();
    // The mouse in the window's rows, for the automatic drag waiting to start; true swallows.
    bool rowsMouseEvent(QEvent* event);
    // Client pixels of the window's rows to the container's coordinates.
    QPointF containerPoint(const QPointF& inViewport) const;
    void applyEnabled();
    controlframework::FontInfo ambientFont() const;
    void applyFont();

    automation::LibraryLock m_lock;
    std::unique_ptr<Watcher> m_watcher;
    std::unique_ptr<DropTarget> m_dropTarget;
    bool m_grid;
};

} // namespace listgrid
