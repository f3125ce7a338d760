#pragma once

#include "platform/DisplayAccess.h"

// The default platform (xcb) needs an X display, wayland a Wayland one; the
// others (offscreen, vnc, eglfs, ...) draw without either.
class LinuxDisplayAccess : public DisplayAccess
{
public:
    bool available(const QString &platform) const override;

    // The rule itself, for the environment's DISPLAY and WAYLAND_DISPLAY.
    static bool available(const QString &platform, const QString &display, const QString &waylandDisplay);
};
