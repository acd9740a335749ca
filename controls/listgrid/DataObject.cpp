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
            throw basic::RuntimeError(InvalidIndex, QStringLiteral("Invalid index specified"), f.className());
        return Variant(f.m_files.at(index - 1));
    };
    static const auto t = MemberTable<F>()
                              .property(1, "Count", [](F& f, Args&) { return Variant(int32_t(f.m_files.size())); })
                              .property(automation::DispIdValue, "Item", item)
                              .property(2, "Item", item);
    return t;
}

CVBDataObject::CVBDataObject() : m_files(std::make_shared<CVBDataObjectFiles>()) {}

const MemberTable<CVBDataObject>& CVBDataObject::members()
{
    using D = CVBDataObject;
    static const auto t =
        MemberTable<D>()
            .property(1, "Files", [](D& d, Args&) { return Variant(basic::ObjectRef(d.files())); })
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
    if (!m_current || format == 0)
        return {};
    const auto block = m_current->getBlock(format);
    if (!block)
        return {};
    return Variant(QString::fromLatin1(terminatedText(*block)));
}

bool CVBDataObject::getFormat(int16_t format) const { return m_current && m_current->queryFormat(format); }

void CVBDataObject::setData(const Variant& data, const Variant& format)
{
    const auto text = optionalString(data);
    if (!m_current || !text)
        return;
    QByteArray block = text->toLatin1();
    block.append('\0');
    m_current->setBlock(optionalInteger(format).value_or(TextFormat), block);
}

void CVBDataObject::clear()
{
    if (m_current)
        m_current->setBlock(0, std::nullopt);
}

const std::shared_ptr<CVBDataObjectFiles>& CVBDataObject::files()
{
    if (m_files->m_files.isEmpty() && m_current) {
        if (const auto block = m_current->getBlock(clipboard::DroppedFiles)) {
            FileList list = readFileListBlock(*block);
            if (!list.error.isEmpty())
                throw basic::RuntimeError(CVBDataObjectFiles::InvalidIndex, list.error, className());
            m_files->m_files = list.files;
        }
    }
    return m_files;
}

} // namespace listgrid
