#pragma once

#include "platform/automation/Object.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

class QPainter;

// The forms runtime's ImageList control as a form's embedded object (it has no
// window): its pictures, image size and mask colour, read late-bound by the
// controls that show them, and the device contexts its images draw into.
namespace forms {

// A device context: a 32-bit handle, as the platform's calls take one, for a
// painter on a bitmap, valid while the object lives.
class DeviceContext
{
public:
    explicit DeviceContext(QPainter& painter);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    int32_t handle() const { return m_handle; }
    // The painter of a live handle; null for any other.
    static QPainter* painterOf(int32_t handle);

private:
    int32_t m_handle;
};

// Members by DISPID: 1 ImageHeight, 2 ImageWidth, 3 MaskColor, 4 ListImages (the
// collection: 0 Item(index from 1), 1 Count; an image: 1 Picture with Width and
// Height in HIMETRIC, 4 Draw(hDC, x, y, style)).
class ImageList : public automation::Object
{
public:
    // The class identifier a form registers the control under.
    static inline const QString ClassId = QStringLiteral("{58DA8D8F-9D6A-101B-AFC0-4210102A8DA7}");

    QString className() const override { return QStringLiteral("ImageList"); }
    automation::DispId idOfName(const QString& name) const override;
    basic::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                          const basic::Variant& value = {}) override;

    void addImage(const QImage& image) { m_images.push_back(image); }
    const std::vector<QImage>& images() const { return m_images; }

    int32_t m_imageWidth = 0;  // 0: each picture's own size
    int32_t m_imageHeight = 0;
    uint32_t m_maskColor = 0x00C0C0C0u;

private:
    std::vector<QImage> m_images;
};

} // namespace forms
