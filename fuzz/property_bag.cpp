// A control's stored properties (the property bag's text): any text is read or
// refused with a reason; a bag read writes a text that reads back to the same text.
#include "fuzz/FuzzSupport.h"

#include "platform/controlframework/PropertyBag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzing::ensureGuiApplication();
    QString error;
    const auto bag = controlframework::PropertyBag::fromText(QString::fromUtf8(fuzzing::bytesOf(data, size)), &error);
    if (!bag) {
        if (error.isEmpty())
            fuzzing::fail("a text refused without a reason");
        return 0;
    }
    const QString text = bag->toText();
    const auto again = controlframework::PropertyBag::fromText(text, &error);
    if (!again)
        fuzzing::fail("a written bag is refused when read back");
    if (again->toText() != text)
        fuzzing::fail("a bag changed between two writes");
    return 0;
}
