#include "tests/import/FakeViews.h"

#include "platform/basic/RuntimeError.h"

void FakeErrorList::addListView1Row(int32_t position, const QString& d, const QString& l, const QString& c,
                                    const QString& v)
{
    // A list view refuses a position past its end.
    if (position < 1 || position > int32_t(rows.size()) + 1)
        throw basic::RuntimeError(basic::err::InvalidPropertyValue);
    rows.insert(rows.begin() + (position - 1), ErrorRow{d, l, c, v});
}
