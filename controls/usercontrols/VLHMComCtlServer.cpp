// The entry points of the VLHMComCtl library.
#include "controls/usercontrols/Identities.h"
#include "controls/usercontrols/vlHmBanner.h"
#include "controls/usercontrols/vlHmButton.h"
#include "controls/usercontrols/vlHmContainer.h"
#include "controls/usercontrols/vlHmFrame.h"
#include "controls/usercontrols/vlHmLinkLabel.h"
#include "controls/usercontrols/vlHmMenuList.h"
#include "controls/usercontrols/vlHmMenuListSub.h"
#include "controls/usercontrols/vlHmOptionList.h"
#include "controls/usercontrols/vlHmWarnMsg.h"

#include "platform/controlframework/ControlServer.h"

namespace usercontrols {

namespace {

template <class T>
automation::ObjectRef make()
{
    return std::make_shared<T>();
}

constexpr controlframework::ControlClass served(controlframework::ControlClass identity,
                                                automation::ObjectRef (*create)())
{
    identity.create = create;
    return identity;
}

// All ten identities; the classes not built yet have no factory and are not registered.
const controlframework::ControlClass controlClasses[] = {
    served(FrameClass, &make<vlHmFrame>),
    served(ContainerClass, &make<vlHmContainer>),
    served(BannerClass, &make<vlHmBanner>),
    served(ButtonClass, &make<vlHmButton>),
    served(WarnMsgClass, &make<vlHmWarnMsg>),
    served(LinkLabelClass, &make<vlHmLinkLabel>),
    served(OptionListClass, &make<vlHmOptionList>),
    served(MenuListClass, &make<vlHmMenuList>),
    served(MenuListSubClass, &make<vlHmMenuListSub>),
    served(LinkLabelMultiLineClass, &make<vlHmLinkLabelMultiLine>),
};

} // namespace

} // namespace usercontrols

QUILLAR_CONTROL_SERVER(usercontrols::controlClasses, usercontrols::Library, usercontrols::liveObjects)
