#pragma once

#include "platform/controlframework/Font.h"
#include "platform/forms/OleColor.h"

#include <QCursor>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QPainter;

// The constituent elements a control places and colours: labels, shapes and
// images. Positions and sizes are in twips in the control's client area; the
// control's one widget draws them back to front (Control::bringToFront).
namespace controlframework {

class Control;

// States of a drag-over notification.
enum class DragState { Enter = 0, Leave = 1, Over = 2 };

class Element
{
public:
    Element(Control& owner, QString name);
    virtual ~Element();
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    const QString& name() const { return m_name; }
    Control& owner() const { return m_owner; }

    int32_t left() const { return m_left; }
    int32_t top() const { return m_top; }
    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    // Move(Left, [Top], [Width], [Height]): what is not given stays.
    void move(int32_t left, std::optional<int32_t> top = {}, std::optional<int32_t> width = {},
              std::optional<int32_t> height = {});
    void setLeft(int32_t v) { move(v); }
    void setTop(int32_t v) { move(m_left, v); }
    void setWidth(int32_t v) { move(m_left, m_top, v); }
    void setHeight(int32_t v) { move(m_left, m_top, m_width, v); }

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // ZOrder 0: in front of the other elements (never of child widgets).
    void bringToFront();
    // Repaints the element.
    void refresh();

    // The element's rectangle in pixels of the control's widget.
    QRect pixelRect() const;
    // Whether the element receives the mouse (labels and images do, shapes do not).
    virtual bool takesMouse() const { return false; }
    virtual void paint(QPainter& painter) const = 0;

    // Mouse notifications, connected by the control. A disabled or hidden element
    // gets none.
    std::function<void()> onMouseMove;
    std::function<void()> onClick;
    std::function<void(Element* source, DragState state)> onDragOver;
    std::function<void(Element* source)> onDragDrop;

    // Manual drag (Drag 1 / Drag 0): while it runs, the pointer shows the drag icon,
    // the element under the pointer receives drag-over notifications, and releasing
    // the mouse button drops the element on what is under the pointer.
    void beginDrag();
    void endDrag();
    bool isDragging() const;
    void setDragIcon(const QCursor& icon) { m_dragIcon = icon; }
    const std::optional<QCursor>& dragIcon() const { return m_dragIcon; }

protected:
    void changed(); // geometry or looks changed: repaint
    // Move gave the element another width.
    virtual void widthChanged() {}

private:
    Control& m_owner;
    QString m_name;
    int32_t m_left = 0;
    int32_t m_top = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_visible = true;
    bool m_enabled = true;
    std::optional<QCursor> m_dragIcon;
};

// Shape kinds as the forms runtime numbers them.
enum class ShapeKind { Rectangle = 0, Square = 1, Oval = 2, Circle = 3, RoundedRectangle = 4, RoundedSquare = 5 };

class Shape : public Element
{
public:
    using Element::Element;

    ShapeKind kind() const { return m_kind; }
    void setKind(ShapeKind kind);
    // Opaque fill (FillStyle solid) in fillColor, or no fill.
    bool isFilled() const { return m_filled; }
    void setFilled(bool filled);
    forms::OleColor fillColor() const { return m_fillColor; }
    void setFillColor(forms::OleColor color);
    forms::OleColor borderColor() const { return m_borderColor; }
    void setBorderColor(forms::OleColor color);
    // Border width in pixels, centred on the outline (kept inside the control's
    // client area); 0 draws no border.
    int borderWidth() const { return m_borderWidth; }
    void setBorderWidth(int width);

    void paint(QPainter& painter) const override;

private:
    ShapeKind m_kind = ShapeKind::Rectangle;
    bool m_filled = false;
    forms::OleColor m_fillColor = 0;
    forms::OleColor m_borderColor = forms::systemOleColor(forms::SystemColor::WindowText);
    int m_borderWidth = 1;
};

enum class Alignment { Left = 0, Right = 1, Center = 2 };

class Label : public Element
{
public:
    using Element::Element;

    const QString& caption() const { return m_caption; }
    // Sets the text; a change resizes an auto-sized label and then calls onChange.
    void setCaption(const QString& caption);
    const FontInfo& font() const { return m_font; }
    void setFont(const FontInfo& font);
    forms::OleColor foreColor() const { return m_foreColor; }
    void setForeColor(forms::OleColor color);
    forms::OleColor backColor() const { return m_backColor; }
    void setBackColor(forms::OleColor color);
    bool isOpaque() const { return m_opaque; }
    void setOpaque(bool opaque);
    Alignment alignment() const { return m_alignment; }
    void setAlignment(Alignment alignment);
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap);
    // AutoSize: the label takes its text's size (one line, or the wrapped height
    // within its width with word wrap).
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    // Fit to the box (a word-wrapped label of fixed size): sizes in twips are laid
    // out for the design font, and a substitute font may be wider; where the text
    // wrapped at the font's size does not fit the box, it is drawn at the largest
    // smaller size that fits (the font itself stays as set).
    bool fitsTextToBox() const { return m_fitToBox; }
    void setFitsTextToBox(bool fit);
    // The font the text is drawn with.
    QFont drawingFont() const;
    // The flags the text is drawn with (alignment, word wrap).
    int drawingFlags() const;

    std::function<void()> onChange;

    bool takesMouse() const override { return true; }
    void paint(QPainter& painter) const override;

private:
    void fitText();
    // A word-wrapped, auto-sized label takes the height of its text at the new width.
    void widthChanged() override;

    QString m_caption;
    FontInfo m_font;
    forms::OleColor m_foreColor = forms::systemOleColor(forms::SystemColor::ButtonText);
    forms::OleColor m_backColor = forms::systemOleColor(forms::SystemColor::ButtonFace);
    bool m_opaque = false;
    Alignment m_alignment = Alignment::Left;
    bool m_wordWrap = false;
    bool m_autoSize = false;
    bool m_fitToBox = false;
};

class Image : public Element
{
public:
    using Element::Element;

    const QPixmap& picture() const { return m_picture; }
    // The image takes the picture's size (no stretching); an empty picture shows nothing.
    void setPicture(const QPixmap& picture);

    bool takesMouse() const override { return true; }
    void paint(QPainter& painter) const override;

private:
    QPixmap m_picture;
};

// Twips of a control's client area to pixels of its widget and back.
QRect twipsToPixels(int32_t left, int32_t top, int32_t width, int32_t height);

} // namespace controlframework
