#pragma once

#include "controls/listgrid/DataTransfer.h"
#include "controls/listgrid/MemberObject.h"

#include "platform/automation/MemberTable.h"

#include <QStringList>

namespace listgrid {

// The files a drop carries (Data.Files), in the order given; Item from 1.
class CVBDataObjectFiles : public MemberObject<CVBDataObjectFiles>
{
public:
    // Item outside 1..Count; also raised, with what does not fit, for a dropped file
    // list that is refused.
    static constexpr int32_t InvalidIndex = 0xFFFF;

    QString className() const override { return QStringLiteral("VBDataObjectFiles"); }
    static const automation::MemberTable<CVBDataObjectFiles>& members();
    QStringList m_files;
};

// The Data argument of the drag events: the platform data object of the drag that
// is running (the control's own data source, or what a drop brings), in clipboard
// formats. Outside a drag every member gives Empty or False and changes nothing.
class CVBDataObject : public MemberObject<CVBDataObject>
{
public:
    static constexpr int16_t TextFormat = clipboard::Text;

    CVBDataObject();
    QString className() const override { return QStringLiteral("VBDataObject"); }
    static const automation::MemberTable<CVBDataObject>& members();

    // The control points it at the drag's data object at each drag event; null
    // outside a drag.
    void setCurrent(TransferData* data) { m_current = data; }
    TransferData* current() const { return m_current; }
    void clearFiles() { m_files->m_files.clear(); }

    basic::Variant getData(int16_t format) const;
    bool getFormat(int16_t format) const;
    void setData(const basic::Variant& data, const basic::Variant& format);
    void clear();
    // Files, read from the dropped-files format on the first request while empty;
    // a refused file list raises its error and leaves the list empty.
    const std::shared_ptr<CVBDataObjectFiles>& files();

private:
    TransferData* m_current = nullptr;
    std::shared_ptr<CVBDataObjectFiles> m_files;
};

} // namespace listgrid
