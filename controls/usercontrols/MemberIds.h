#pragma once

#include "platform/automation/Object.h"

// The DISPIDs of the ten controls' members and events, as their type library numbers
// them and their hosts (and the two menu lists, which embed the frame and the link
// labels) bind to them. Properties: 0x68030000 plus a number counting down over all
// the control's properties in declaration order (private ones included, hence the
// gaps); methods: 0x60030000 plus the member's place in declaration order; events:
// 1, 2, ... in their order. Members are listed in declaration order.
namespace usercontrols {

using automation::DispId;

constexpr DispId propertyId(int n) { return DispId(0x68030000 + n); }
constexpr DispId methodId(int n) { return DispId(0x60030000 + n); }

namespace frame {
inline constexpr DispId BackColor = propertyId(5);
inline constexpr DispId TitleColor = propertyId(4);
inline constexpr DispId Caption = propertyId(3);
inline constexpr DispId InternalHeight = propertyId(2);
inline constexpr DispId InternalWidth = propertyId(1);
inline constexpr DispId LargeFont = propertyId(0);
namespace event {
inline constexpr DispId Resize = 1; // declared, never raised
}
} // namespace frame

namespace container {
inline constexpr DispId BorderWidth = propertyId(3);
inline constexpr DispId BorderStyle = propertyId(2);
inline constexpr DispId BorderColor = propertyId(1);
inline constexpr DispId BackColor = propertyId(0);
inline constexpr DispId Refresh = methodId(4);
} // namespace container

namespace banner {
inline constexpr DispId BackColor = propertyId(7);
inline constexpr DispId BorderColor = propertyId(6);
inline constexpr DispId ForeColor = propertyId(5);
inline constexpr DispId Caption = propertyId(4);
inline constexpr DispId SubCaption = propertyId(3);
inline constexpr DispId SubCaptionVisible = propertyId(2);
inline constexpr DispId LockBorderColor = propertyId(1);
inline constexpr DispId BorderWidth = propertyId(0);
} // namespace banner

namespace button {
inline constexpr DispId Enabled = propertyId(6);
inline constexpr DispId Caption = propertyId(5);
inline constexpr DispId BackColor = propertyId(4);
inline constexpr DispId BorderColor = propertyId(3);
inline constexpr DispId HoverColor = propertyId(2);
inline constexpr DispId ClickColor = propertyId(1);
inline constexpr DispId ForeColor = propertyId(0);
inline constexpr DispId Refresh = methodId(0x18);
namespace event {
inline constexpr DispId Click = 1;
}
} // namespace button

namespace warnmsg {
inline constexpr DispId BackColor = propertyId(7);
inline constexpr DispId BackStyle = propertyId(6);
inline constexpr DispId ForeColor = propertyId(4);
inline constexpr DispId Font = propertyId(3);
inline constexpr DispId ScaleHeight = propertyId(2);
inline constexpr DispId ScaleWidth = propertyId(1);
inline constexpr DispId Show = methodId(0x12);
inline constexpr DispId Hide = methodId(0x13);
namespace event {
inline constexpr DispId IconClick = 1;
inline constexpr DispId Click = 2;
} // namespace event
} // namespace warnmsg

// vlHmLinkLabel and vlHmLinkLabelMultiLine alike.
namespace linklabel {
inline constexpr DispId BackColor = propertyId(0xA);
inline constexpr DispId BackStyle = propertyId(9);
inline constexpr DispId Caption = propertyId(8);
inline constexpr DispId ForeColor = propertyId(7);
inline constexpr DispId Enabled = propertyId(6);
inline constexpr DispId Font = propertyId(5);
inline constexpr DispId Hover = propertyId(4);
inline constexpr DispId URL = propertyId(3);
inline constexpr DispId ScaleHeight = propertyId(2);
inline constexpr DispId ScaleWidth = propertyId(1);
inline constexpr DispId HyperJump = methodId(0x18);
inline constexpr DispId Refresh = methodId(0x19);
inline constexpr DispId Selected = propertyId(0);
namespace event {
inline constexpr DispId Click = 1;
inline constexpr DispId HyperJump = 2; // Cancel by reference
inline constexpr DispId Change = 3;
inline constexpr DispId Resize = 4;
} // namespace event
} // namespace linklabel

namespace optionlist {
inline constexpr DispId AutoSize = propertyId(5);
inline constexpr DispId BorderColor = propertyId(4);
inline constexpr DispId ListColor = propertyId(3);
inline constexpr DispId ListItemColor = propertyId(2);
inline constexpr DispId Caption = propertyId(1);
inline constexpr DispId Options = propertyId(0);
inline constexpr DispId SetOption = methodId(7);
inline constexpr DispId DrawOptions = methodId(8);
namespace event {
inline constexpr DispId OptionClicked = 1; // lOptionID by reference
}
} // namespace optionlist

namespace menulist {
inline constexpr DispId AutoSize = propertyId(6);
inline constexpr DispId TitleColor = propertyId(5);
inline constexpr DispId ListColor = propertyId(4);
inline constexpr DispId Caption = propertyId(3);
inline constexpr DispId ListItemColor = propertyId(2);
inline constexpr DispId ListItemAltColor = propertyId(1);
inline constexpr DispId Options = propertyId(0);
inline constexpr DispId SetOption = methodId(7);
inline constexpr DispId DrawOptions = methodId(8);
inline constexpr DispId SetAltColor = methodId(0xE);
inline constexpr DispId SelectOption = methodId(0xF);
inline constexpr DispId SelectOptionbyID = methodId(0x10);
namespace event {
inline constexpr DispId OptionClicked = 1; // lOptionID by reference
}
} // namespace menulist

namespace menulistsub {
inline constexpr DispId TitleColor = propertyId(4);
inline constexpr DispId ListColor = propertyId(3);
inline constexpr DispId Caption = propertyId(2);
inline constexpr DispId ListItemColor = propertyId(1);
inline constexpr DispId ListItemAltColor = propertyId(0);
inline constexpr DispId SetAltColor = methodId(0xB);
inline constexpr DispId SelectOption = methodId(0xC);
namespace event {
inline constexpr DispId OptionClicked = 1;    // lOptionID by reference
inline constexpr DispId SubOptionClicked = 2; // iOptionID by reference
} // namespace event
} // namespace menulistsub

} // namespace usercontrols
