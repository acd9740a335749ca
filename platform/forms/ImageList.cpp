#include "platform/forms/ImageList.h"

#include "platform/automation/MemberTable.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

#include <QPainter>

#include <map>
#include <memory>

namespace forms {

using automation::Args;
using automation::MemberTable;
using basic::Variant;

namespace {

std::map<int32_t, QPainter*>& liveContexts()
{
    static std::map<int32_t, QPainter*> contexts;
    return contexts;
}

// Pixels (96 to the inch) as HIMETRIC (hundredths of a millimetre).
int32_t himetric(int pixels) { return int32_t(pixels * 2540 / 96); }

class Picture : public automation::Object
{
public:
    explicit Picture(QSize size) : m_size(size) {}
    QString className() const override { return QStringLiteral("IPictureDisp"); }
    automation::DispId idOfName(const QString& name) const override { return table().idOfName(name); }
    Variant invoke(automation::DispId id, automation::Invoke kind, Args& args, const Variant& value) override
    {
        return table().invoke(*this, id, kind, args, value);
    }

private:
    static const MemberTable<Picture>& table()
    {
        static const auto t = MemberTable<Picture>()
                                  .property(-5, "Width", [](Picture& p, Args&) { return Variant(himetric(p.m_size.width())); })
                                  .property(-6, "Height", [](Picture& p, Args&) { return Variant(himetric(p.m_size.height())); });
        return t;
    }
    QSize m_size;
};

class ListImage : public automation::Object
{
public:
    ListImage(std::shared_ptr<ImageList> list, size_t index) : m_list(std::move(list)), m_index(index) {}
    QString className() const override { return QStringLiteral("ListImage"); }
    automation::DispId idOfName(const QString& name) const override { return table().idOfName(name); }
    Variant invoke(automation::DispId id, automation::Invoke kind, Args& args, const Variant& value) override
    {
        return table().invoke(*this, id, kind, args, value);
    }

private:
    const QImage& image() const { return m_list->images()[m_index]; }
    static const MemberTable<ListImage>& table()
    {
        static const auto t =
            MemberTable<ListImage>()
                .property(1, "Picture",
                          [](ListImage& i, Args&) { return Variant(basic::ObjectRef(std::make_shared<Picture>(i.image().size()))); })
                .method(4, "Draw", [](ListImage& i, Args& a) {
                    automation::checkArgCount(a, 1, 4);
                    QPainter* painter = DeviceContext::painterOf(basic::CLng(a[0]));
                    if (!painter)
                        throw basic::RuntimeError(basic::err::InvalidProcedureCall, QString(),
                                                  QStringLiteral("ImageList"));
                    const int x = a.size() > 1 ? basic::CInt(a[1]) : 0, y = a.size() > 2 ? basic::CInt(a[2]) : 0;
                    painter->drawImage(QPoint(x, y), i.image());
                    return Variant();
                });
        return t;
    }
    std::shared_ptr<ImageList> m_list;
    size_t m_index;
};

class ListImages : public automation::Object
{
public:
    explicit ListImages(std::shared_ptr<ImageList> list) : m_list(std::move(list)) {}
    QString className() const override { return QStringLiteral("ListImages"); }
    automation::DispId idOfName(const QString& name) const override { return table().idOfName(name); }
    Variant invoke(automation::DispId id, automation::Invoke kind, Args& args, const Variant& value) override
    {
        return table().invoke(*this, id, kind, args, value);
    }

private:
    static const MemberTable<ListImages>& table()
    {
        static const auto t =
            MemberTable<ListImages>()
                .property(0, "Item",
                          [](ListImages& l, Args& a) {
                              automation::checkArgCount(a, 1, 1);
                              const int32_t index = basic::CLng(a[0]);
                              if (index < 1 || size_t(index) > l.m_list->images().size())
                                  throw basic::RuntimeError(35600, QStringLiteral("Index out of bounds"),
                                                            QStringLiteral("ImageList"));
                              return Variant(basic::ObjectRef(std::make_shared<ListImage>(l.m_list, size_t(index - 1))));
                          })
                .property(1, "Count", [](ListImages& l, Args&) { return Variant(int32_t(l.m_list->images().size())); });
        return t;
    }
    std::shared_ptr<ImageList> m_list;
};

const MemberTable<ImageList>& imageListTable()
{
    static const auto t =
        MemberTable<ImageList>()
            .property(1, "ImageHeight", [](ImageList& l, Args&) { return Variant(l.m_imageHeight); })
            .property(2, "ImageWidth", [](ImageList& l, Args&) { return Variant(l.m_imageWidth); })
            .property(3, "MaskColor", [](ImageList& l, Args&) { return Variant(int32_t(l.m_maskColor)); })
            .property(4, "ListImages", [](ImageList& l, Args&) {
                return Variant(basic::ObjectRef(
                    std::make_shared<ListImages>(std::static_pointer_cast<ImageList>(l.shared_from_this()))));
            });
    return t;
}

} // namespace

DeviceContext::DeviceContext(QPainter& painter)
{
    static int32_t last = 0;
    m_handle = ++last;
    liveContexts()[m_handle] = &painter;
}

DeviceContext::~DeviceContext() { liveContexts().erase(m_handle); }

QPainter* DeviceContext::painterOf(int32_t handle)
{
    const auto it = liveContexts().find(handle);
    return it == liveContexts().end() ? nullptr : it->second;
}

automation::DispId ImageList::idOfName(const QString& name) const { return imageListTable().idOfName(name); }

Variant ImageList::invoke(automation::DispId id, automation::Invoke kind, Args& args, const Variant& value)
{
    return imageListTable().invoke(*this, id, kind, args, value);
}

} // namespace forms
