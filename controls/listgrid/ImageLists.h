#pragma once

#include "controls/listgrid/ContainerHelpers.h"

#include <QImage>

#include <cstdint>
#include <vector>

// The ImageList controls a list shows its images from, read late-bound by DISPID.
namespace listgrid {

struct ImageListPictures
{
    std::vector<QImage> images;
    uint32_t maskColor = 0; // an OLE colour
};

// The control of that display name whose class is one of the ImageList classes,
// tried in their order; null when none.
basic::ObjectRef findImageList(const QString& name, const ClientSite* site);
// Every image of the list, each drawn into a bitmap of the list's image size (or the
// picture's own size when the list gives no width), and its mask colour. A
// late-bound read that fails ends the list there.
ImageListPictures drawImageList(const basic::ObjectRef& imageList);

} // namespace listgrid
