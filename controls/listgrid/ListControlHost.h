#pragma once

#include "package/listwindow/ListMessages.h"

#include "platform/basic/Variant.h"
#include "platform/forms/Twips.h"

#include <QString>

#include <memory>

namespace listgrid {

class CColumn;
class CColumns;

// What a data field tells a column when its DataField is set.
struct FieldInfo
{
    int32_t size = 0;
    int16_t sqlType = vllist::sql::Varchar;
    int16_t decimalPlaces = 0;
};

// What the list-window wrapper asks of the control that owns it (the list or the
// grid control). The wrapper holds a plain pointer that the control clears when it
// is destroyed.
class ListControlHost
{
public:
    virtual ~ListControlHost() = default;

    // The control's outside window; null while it has none (design mode before
    // creation, or after destruction).
    virtual vllist::Window* listWindow() const = 0;
    virtual void setModified() = 0;
    virtual bool isUserMode() const = 0;
    virtual bool isAutoRedraw() const = 0;
    virtual std::shared_ptr<CColumns> columns() const = 0;
    virtual void repaint() = 0;
    // The list's CurrentItem setter (an Item, or Nothing to clear it).
    virtual void setCurrentItem(const basic::ObjectRef& item) { (void)item; }
    // Loads the list's image lists before the first row with an image goes in.
    virtual void ensureImageLists() {}
    // The bound data control's field of that name (dotted path); false when none.
    virtual bool readFieldInfo(const QString& dataField, FieldInfo& info)
    {
        (void)dataField;
        (void)info;
        return false;
    }
    // The grid shows a column's popup editor.
    virtual void showColumnPopup(CColumn& column) { (void)column; }
    // Window pixels in the container's units (twips by default).
    virtual double toContainerUnits(int32_t pixels) const { return double(forms::pixelsToTwips(pixels)); }
};

} // namespace listgrid
