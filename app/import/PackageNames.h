#pragma once

#include "platform/basic/Variant.h"

#include <QString>

#include <memory>
#include <utility>
#include <vector>

// Names as the import hands them to the package, made once. Every line of an
// import names the same few dozen fields and calls the same members, so neither
// the text of a name nor a member's id is worked out again per call.
namespace importer {

// A field or member name in upper case, one text per name whatever the spelling
// ("Net_Amount" and "NET_AMOUNT" give the same object, so its address stands for
// the name). The package compares names without regard to case and finds an
// upper-case name without a copy of its own.
const QString& packageName(const char* name);

// The id of one member ("Find", "Header") on the objects it is asked about, looked
// up once per object for as long as the object lives.
class MemberId
{
public:
    explicit MemberId(const char* member) : m_member(member) {}
    int32_t of(const basic::ObjectRef& object);

private:
    const char* m_member;
    std::vector<std::pair<std::weak_ptr<automation::Object>, int32_t>> m_ids;
};

} // namespace importer
