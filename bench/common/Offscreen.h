#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace bench {

// A benchmark that makes widgets runs on the offscreen platform unless one is
// named: a machine without a display has no other plugin Qt can load. Call before
// the application object is made.
inline void useOffscreenPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace bench
