#pragma once

#include "controls/listgrid/MemberObject.h"

#include "platform/automation/MemberTable.h"

#include <QByteArray>
#include <QStringList>

namespace listgrid {

// What travels with a drag the control starts: text only (clipboard format 1).
struct DragData
{
    bool active = false; // a drag is running
    bool hasText = false;
    QByteArray text;
};

class CVBDataObjectFiles : public MemberObject<CVBDataObjectFiles>
{
public:
    QString className() const override { return QStringLiteral("VBDataObjectFiles"); }
    static const automation::MemberTable<CVBDataObjectFiles>& members();
    QStringList m_files;
};

// The Data argument of the drag events: the text the drag carries. Outside a drag
// every member gives Empty or False and changes nothing.
class CVBDataObject : public MemberObject<CVBDataObject>
{
public:
    static constexpr int16_t TextFormat = 1;

    explicit CVBDataObject(DragData& data);
    QString className() const override { return QStringLiteral("VBDataObject"); }
    static const automation::MemberTable<CVBDataObject>& members();

    basic::Variant getData(int16_t format) const;
    bool getFormat(int16_t format) const;
    void setData(const basic::Variant& data, const basic::Variant& format);
    // Empties what the drag carries (the drop then gets no text).
    void clear();

    DragData& m_data;
    std::shared_ptr<CVBDataObjectFiles> m_files;
};

} // namespace listgrid
