#include "controls/listgrid/ImageLists.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/ImageList.h"

#include <QPainter>

namespace listgrid {

using automation::Args;
using automation::Invoke;
using basic::Variant;

namespace {

Variant read(const basic::ObjectRef& object, automation::DispId id, Args args = {})
{
    if (!object)
        throw basic::RuntimeError(basic::err::ObjectVariableNotSet);
    return object->invoke(id, Invoke::PropertyGet, args);
}

int himetricToPixels(int32_t himetric) { return int((int64_t(himetric) * 96 + 1270) / 2540); }

} // namespace

basic::ObjectRef findImageList(const QString& name, const ClientSite* site)
{
    for (const char* classId : ImageListClassIds)
        if (basic::ObjectRef found = FindContainerControl(name, QLatin1String(classId), site))
            return found;
    return nullptr;
}

ImageListPictures drawImageList(const basic::ObjectRef& imageList)
{
    ImageListPictures pictures;
    try {
        const basic::ObjectRef images = read(imageList, 4).objectValue();
        const int32_t count = basic::CLng(read(images, 1));
        const int32_t width = basic::CLng(read(imageList, 2));
        const int32_t height = basic::CLng(read(imageList, 1));
        pictures.maskColor = uint32_t(basic::CLng(read(imageList, 3)));
        for (int32_t i = 1; i <= count; ++i) {
            const basic::ObjectRef image = read(images, 0, {Variant(i)}).objectValue();
            QSize size(width, height);
            if (width <= 0) {
                const basic::ObjectRef picture = read(image, 1).objectValue();
                size = QSize(himetricToPixels(basic::CLng(picture->get(QStringLiteral("Width")))),
                             himetricToPixels(basic::CLng(picture->get(QStringLiteral("Height")))));
            }
            QImage bitmap(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
            bitmap.fill(Qt::white);
            {
                QPainter painter(&bitmap);
                forms::DeviceContext dc(painter);
                Args draw{Variant(dc.handle()), Variant(int16_t(0)), Variant(int16_t(0)), Variant(int16_t(0))};
                image->invoke(4, Invoke::Method, draw);
            }
            pictures.images.push_back(std::move(bitmap));
        }
    } catch (const basic::RuntimeError&) {
        // What the list gave up to the failing read is what it shows.
    }
    return pictures;
}

} // namespace listgrid
