// A small in-process library for the automation tests: one creatable class
// "QuillarTest.Counter" with a method taking an optional argument, one taking
// by-reference arguments, read/write, read-only and write-only properties, a default
// member and an enumerable collection.

#include "TestLibraryIds.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/automation/Object.h"
#include "platform/basic/RuntimeError.h"

#include <memory>
#include <vector>

using automation::Args;
using automation::MemberTable;
using automation::ObjectRef;
using automation::Variant;

namespace {

int32_t g_liveObjects = 0;

int32_t toLong(const Variant& v)
{
    if (v.type() == basic::VarType::Long || v.type() == basic::VarType::Integer ||
        v.type() == basic::VarType::Byte)
        return v.intValue();
    throw basic::RuntimeError(basic::err::TypeMismatch, QStringLiteral("Type mismatch"));
}

class Enumerator final : public automation::Enumerator
{
public:
    explicit Enumerator(std::shared_ptr<const std::vector<Variant>> items) : m_items(std::move(items)) {}

    QString className() const override { return QStringLiteral("Enumerator"); }
    automation::DispId idOfName(const QString& name) const override { automation::throwUnknownName(name); }
    Variant invoke(automation::DispId id, automation::Invoke, Args&, const Variant&) override
    {
        automation::throwMemberNotFound(id);
    }
    bool next(Variant& element) override
    {
        if (m_position >= m_items->size())
            return false;
        element = (*m_items)[m_position++];
        return true;
    }
    void reset() override { m_position = 0; }

private:
    automation::LibraryLock m_lock{g_liveObjects};
    std::shared_ptr<const std::vector<Variant>> m_items;
    size_t m_position = 0;
};

class Collection final : public automation::Object
{
public:
    explicit Collection(std::vector<Variant> items)
        : m_items(std::make_shared<const std::vector<Variant>>(std::move(items)))
    {
    }

    static const MemberTable<Collection>& table()
    {
        static const auto t =
            MemberTable<Collection>()
                .method(0, "Item",
                        [](Collection& c, Args& a) {
                            automation::checkArgCount(a, 1, 1);
                            const int32_t index = toLong(a[0]);
                            if (index < 1 || size_t(index) > c.m_items->size())
                                throw basic::RuntimeError(basic::err::SubscriptOutOfRange,
                                                          QStringLiteral("Subscript out of range"));
                            return (*c.m_items)[size_t(index - 1)];
                        })
                .property(1, "Count",
                          [](Collection& c, Args&) { return Variant(int32_t(c.m_items->size())); })
                .method(automation::DispIdNewEnum, "_NewEnum", [](Collection& c, Args&) {
                    return Variant(ObjectRef(std::make_shared<Enumerator>(c.m_items)));
                });
        return t;
    }

    QString className() const override { return QStringLiteral("Collection"); }
    automation::DispId idOfName(const QString& n) const override { return table().idOfName(n); }
    Variant invoke(automation::DispId id, automation::Invoke k, Args& a, const Variant& v) override
    {
        return table().invoke(*this, id, k, a, v);
    }

private:
    automation::LibraryLock m_lock{g_liveObjects};
    std::shared_ptr<const std::vector<Variant>> m_items;
};

class Counter final : public automation::Object
{
public:
    static const MemberTable<Counter>& table()
    {
        static const auto t =
            MemberTable<Counter>()
                .property(
                    0, "Value", [](Counter& c, Args&) { return Variant(c.m_total); },
                    [](Counter& c, Args&, const Variant& v) { c.m_total = toLong(v); })
                // Add(value, [step = 1]): adds to the total and returns it.
                .method(1, "Add",
                        [](Counter& c, Args& a) {
                            automation::checkArgCount(a, 1, 2);
                            const Variant& step = automation::optionalArg(a, 1);
                            c.m_total += toLong(a[0]) * (step.isMissing() ? 1 : toLong(step));
                            return Variant(c.m_total);
                        })
                // Swap(a, b): both by reference.
                .method(2, "Swap",
                        [](Counter&, Args& a) {
                            automation::checkArgCount(a, 2, 2);
                            std::swap(a[0], a[1]);
                            return Variant();
                        })
                .property(
                    3, "Name", [](Counter& c, Args&) { return Variant(c.m_name); },
                    [](Counter& c, Args&, const Variant& v) {
                        if (!v.isString())
                            throw basic::RuntimeError(basic::err::TypeMismatch,
                                                      QStringLiteral("Type mismatch"));
                        c.m_name = v.stringValue();
                    })
                .property(4, "Items",
                          [](Counter&, Args&) {
                              return Variant(ObjectRef(std::make_shared<Collection>(
                                  std::vector<Variant>{Variant("one"), Variant(int32_t(2)), Variant(3.5)})));
                          })
                .property(5, "ReadOnly", [](Counter&, Args&) { return Variant(true); })
                .property(6, "WriteOnly", nullptr,
                          [](Counter& c, Args&, const Variant& v) { c.m_name = v.stringValue(); })
                .method(7, "Fail", [](Counter&, Args&) -> Variant {
                    throw basic::RuntimeError(5, QStringLiteral("Counter failed on purpose"),
                                              QStringLiteral("QuillarTest.Counter"));
                });
        return t;
    }

    QString className() const override { return QStringLiteral("Counter"); }
    automation::DispId idOfName(const QString& n) const override { return table().idOfName(n); }
    Variant invoke(automation::DispId id, automation::Invoke k, Args& a, const Variant& v) override
    {
        return table().invoke(*this, id, k, a, v);
    }

private:
    automation::LibraryLock m_lock{g_liveObjects};
    int32_t m_total = 0;
    QString m_name;
};

class CounterFactory final : public automation::ClassFactory
{
public:
    ObjectRef createInstance() override { return std::make_shared<Counter>(); }
};

} // namespace

QUILLAR_INPROC_EXPORT int32_t DllRegisterServer()
{
    // Lets the tests see the registration tool report a failing library.
    if (qEnvironmentVariableIsSet("QUILLAR_TESTLIB_FAIL_REGISTER"))
        return basic::err::Fail;
    try {
        automation::registerClass(
            QString::fromLatin1(testlib::CounterClassId), QString::fromLatin1(testlib::CounterProgId),
            automation::libraryPathOf(&g_liveObjects), QStringLiteral("Quillar test counter"));
        return 0;
    } catch (const basic::RuntimeError&) {
        return basic::err::Fail;
    }
}

QUILLAR_INPROC_EXPORT int32_t DllUnregisterServer()
{
    try {
        automation::unregisterClass(QString::fromLatin1(testlib::CounterClassId),
                                    QString::fromLatin1(testlib::CounterProgId));
        return 0;
    } catch (const basic::RuntimeError&) {
        return basic::err::Fail;
    }
}

QUILLAR_INPROC_EXPORT int32_t DllGetClassObject(const char16_t* classId, automation::ClassFactory** factory)
{
    static CounterFactory counterFactory;
    *factory = nullptr;
    if (QString::fromUtf16(classId).compare(QLatin1String(testlib::CounterClassId), Qt::CaseInsensitive) != 0)
        return basic::err::ClassNotRegistered;
    *factory = &counterFactory;
    return 0;
}

QUILLAR_INPROC_EXPORT int32_t DllCanUnloadNow()
{
    return g_liveObjects == 0 ? 0 : 1;
}
