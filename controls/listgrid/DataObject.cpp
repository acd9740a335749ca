#include "controls/listgrid/DataObject.h"

#include "controls/listgrid/OptionalArgs.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

namespace listgrid {

using automation::Args;
using automation::MemberTable;
using basic::Variant;

const MemberTable<CVBDataObjectFiles>& CVBDataObjectFiles::members()
{
    using F = CVBDataObjectFiles;
    static const auto item = [](F& f, Args& a) {
        const int32_t index = basic::CLng(automation::optionalArg(a, 0));
        if (index < 1 || index > f.m_files.size())
            throw basic::RuntimeError(0xFFFF, QStringLiteral("Invalid index specified"), f.className());
        return Variant(f.m_files.at(index - 1));
    };
    static const auto t = MemberTable<F>()
                              .property(1, "Count", [](F& f, Args&) { return Variant(int32_t(f.m_files.size())); })
                              .property(automation::DispIdValue, "Item", item)
                              .property(2, "Item", item);
    return t;
}

CVBDataObject::CVBDataObject(DragData& data) : m_data(data), m_files(std::make_shared<CVBDataObjectFiles>()) {}

const MemberTable<CVBDataObject>& CVBDataObject::members()
{
    using D = CVBDataObject;
    static const auto t =
        MemberTable<D>()
            .property(1, "Files", [](D& d, Args&) { return Variant(basic::ObjectRef(d.m_files)); })
            .method(2, "Clear", [](D& d, Args&) { d.clear(); return Variant(); })
            .method(3, "GetData", [](D& d, Args& a) { return d.getData(basic::CInt(automation::optionalArg(a, 0))); })
            .method(4, "GetFormat", [](D& d, Args& a) { return Variant(d.getFormat(basic::CInt(automation::optionalArg(a, 0)))); })
            .method(5, "SetData", [](D& d, Args& a) {
                d.setData(automation::optionalArg(a, 0), automation::optionalArg(a, 1));
                return Variant();
            });
    return t;
}

Variant CVBDataObject::getData(int16_t format) const
{
    if (!m_data.active || format != TextFormat || !m_data.hasText)
        return {};
    return Variant(QString::fromLatin1(m_data.text));
}

bool CVBDataObject::getFormat(int16_t format) const
{
    return m_data.active && format == TextFormat && m_data.hasText;
}

void CVBDataObject::setData(const Variant& data, const Variant& format)
{
    const auto text = optionalString(data);
    if (!m_data.active || !text || optionalInteger(format).value_or(TextFormat) != TextFormat)
        return;
    m_data.text = text->toLatin1();
    m_data.hasText = true;
}

void CVBDataObject::clear()
{
    if (!m_data.active)
        return;
    m_data.text.clear();
    m_data.hasText = false;
}

} // namespace listgrid
