#pragma once

#include "platform/controlframework/ControlServer.h"

#include <QString>

#include <cstdint>

// The VLHMComCtl library: its type library and the identities of its ten controls
// as hosts bind to them. A class with `create` still nullptr is known but not
// served yet (VLHMComCtlServer.cpp lists the served ones).
namespace usercontrols {

inline constexpr controlframework::TypeLibrary Library{
    "{727C5FB1-E326-4BBE-9DD3-EA4A790D63AB}", "VLHMComCtl", 1, 1, "VLHMComCtl user controls"};

// Misc status bits beyond the 0x20191 all ten carry.
namespace misc {
inline constexpr uint32_t Common = 0x20191;      // recompose on resize, can't link inside, inside-out,
                                                 // activate when visible, set client site first
inline constexpr uint32_t ActsLikeButton = 0x1000;
inline constexpr uint32_t ActsLikeLabel = 0x2000;
inline constexpr uint32_t NoUiActivate = 0x4000;
inline constexpr uint32_t Alignable = 0x8000;
inline constexpr uint32_t SimpleFrame = 0x10000;
} // namespace misc

inline constexpr controlframework::ControlClass FrameClass{
    "vlHmFrame", "{4BE21FAE-D8D4-48FD-A2A4-672817A56466}", "VLHMComCtl.vlHmFrame",
    "{B5B67269-8A1B-4AB9-93CD-5FDAF7C7638D}", "{266FCF0E-4DF2-4D28-B61C-F06AA6AFC5FA}", 30009, 0x3C191, nullptr};
inline constexpr controlframework::ControlClass ContainerClass{
    "vlHmContainer", "{6A0F254D-8069-4344-98D7-84D1EC6F41E4}", "VLHMComCtl.vlHmContainer",
    "{7E1EEA1B-21D7-4629-9B25-F47E2F150263}", "{5F894D92-3AB2-4505-BD54-211BDD70C6FE}", 30008, 0x34191, nullptr};
inline constexpr controlframework::ControlClass BannerClass{
    "vlHmBanner", "{0A98350B-7119-42E6-B754-26800A3C9EB3}", "VLHMComCtl.vlHmBanner",
    "{AEF33DED-83D0-4D42-83B1-DA84B0B91733}", "{D6B3B678-0E5A-4E21-B571-FE9301B2F485}", 30007, 0x20191, nullptr};
inline constexpr controlframework::ControlClass ButtonClass{
    "vlHmButton", "{823ED6E1-19A9-4C0C-80F4-EFE485DA7C74}", "VLHMComCtl.vlHmButton",
    "{FC637DCB-71BC-404F-B2BF-CD799BFE807A}", "{18582A7C-70DD-433A-880B-A01A53928840}", 30006, 0x21191, nullptr};
inline constexpr controlframework::ControlClass WarnMsgClass{
    "vlHmWarnMsg", "{AC23A2F3-CAFE-4BF2-B0A9-8DE50B763A37}", "VLHMComCtl.vlHmWarnMsg",
    "{62A43AC0-C4FF-4517-9E07-2163D69B52D9}", "{42FFB9D8-5389-415D-9481-2208374395A4}", 30005, 0x26191, nullptr};
inline constexpr controlframework::ControlClass LinkLabelClass{
    "vlHmLinkLabel", "{9C4AAB35-A809-402A-B41E-AD9FF605A024}", "VLHMComCtl.vlHmLinkLabel",
    "{96DBFEFA-E54E-4A54-8642-1E89840B90AB}", "{46DEFFF5-9A8E-4C34-848C-BDDD748F9217}", 30004, 0x26191, nullptr};
inline constexpr controlframework::ControlClass OptionListClass{
    "vlHmOptionList", "{3646B8D6-EBC1-44A7-B810-B207B76F8806}", "VLHMComCtl.vlHmOptionList",
    "{D8B16EDE-43E0-432D-89D3-5B25ED752679}", "{D66D6FD7-E2B7-43DA-A0CE-3D3609D0E86E}", 30003, 0x20191, nullptr};
inline constexpr controlframework::ControlClass MenuListClass{
    "vlHmMenuList", "{5D22E8EE-18D6-49AD-BA81-E869F714D5EE}", "VLHMComCtl.vlHmMenuList",
    "{DFB257D5-5C43-4AB8-9210-0FB778836CB3}", "{7816940A-59E1-4AE0-A0A2-65FB3E9264BF}", 30002, 0x20191, nullptr};
inline constexpr controlframework::ControlClass MenuListSubClass{
    "vlHmMenuListSub", "{95E17BA6-4051-43BB-A423-E48402E6B748}", "VLHMComCtl.vlHmMenuListSub",
    "{4216AE9E-2B86-47D2-8B58-C1B1BB041F36}", "{9650A118-30EE-4A7A-8A89-F2492AD28062}", 30001, 0x20191, nullptr};
inline constexpr controlframework::ControlClass LinkLabelMultiLineClass{
    "vlHmLinkLabelMultiLine", "{F84EC6C5-59E4-45EB-AF21-22B510631A54}", "VLHMComCtl.vlHmLinkLabelMultiLine",
    "{292B7C38-179F-4768-A1B1-95790C012D50}", "{9E39D494-5B75-4132-B41D-CBAA8E704024}", 30000, 0x20191, nullptr};

// Shared types of the type library, with their GUIDs.
inline constexpr const char* eBorderStyleGuid = "{7B81CC41-7ECE-43E0-A051-66C2EC84A22C}";
enum class eBorderStyle : int32_t { eSquare = 0, eRounded = 4 };
inline constexpr const char* WarnBackStylesGuid = "{79E881F4-05EE-427C-B950-8B5FFF23AEA0}";
enum class WarnBackStyles : int32_t { Transparent = 0, Opaque = 1 };
inline constexpr const char* WarnIconStylesGuid = "{3673D1BB-7624-4502-AA75-81773087898F}";
enum class WarnIconStyles : int32_t { Information = 0, Critical = 1, Warning = 2, None = 3 };
inline constexpr const char* LabelBackStylesGuid = "{5DF1B16D-1673-458E-8C7D-AAB3DD827303}";
enum class LabelBackStyles : int32_t { Transparent = 0, Opaque = 1 };

// Per-option state of the option list and the two menu lists.
inline constexpr const char* udtOptionListItemGuid = "{4CCA6AE0-7B57-4E15-AB68-B3FFE4E0F65E}";
struct udtOptionListItem
{
    QString sCaption;
    int32_t lID = 0;
    bool bHovering = false;
};
inline constexpr const char* udtMenuListItemGuid = "{BA4AFD08-B861-46B5-80FE-A8C61C27731B}";
struct udtMenuListItem
{
    QString sCaption;
    int32_t lID = 0;
    bool bSelected = false;
    bool bAltColor = false;
};

// Objects of the library alive; it may be unloaded at zero.
int32_t& liveObjects();

} // namespace usercontrols
