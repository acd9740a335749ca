#include "package/engine/FieldObjects.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

namespace vdo {

const MemberTable<Field>& Field::table()
{
    static const auto t = MemberTable<Field>()
                              .property(
                                  0, "Value", [](Field& f, Args&) { return f.m_values->get(f.m_index); },
                                  [](Field& f, Args&, const Variant& v) { f.m_values->put(f.m_index, v); })
                              .property(1, "Name", [](Field& f, Args&) {
                                  return Variant(f.m_values->set->at(f.m_index).name);
                              });
    return t;
}

const MemberTable<Fields>& Fields::table()
{
    static const auto t =
        MemberTable<Fields>()
            .method(0, "Item", [](Fields& f, Args& a) { return f.item(a); })
            .property(1, "Count", [](Fields& f, Args&) { return Variant(int32_t(f.m_values->set->size())); });
    return t;
}

Variant Fields::item(const Args& a)
{
    const Variant& key = argAt(a, 0);
    int index;
    if (key.isNumber()) {
        index = basic::CLng(key) - 1;
        if (index < 0 || index >= m_values->set->size())
            raise(basic::err::SubscriptOutOfRange, basic::errorDescription(basic::err::SubscriptOutOfRange));
    } else {
        index = m_values->index(basic::CStr(key));
    }
    return Variant(automation::ObjectRef(std::make_shared<Field>(m_values, index)));
}

} // namespace vdo
