#include "LinuxDisplayAccess.h"

#include <QStringList>

bool LinuxDisplayAccess::available(const QString &platform) const
{
    return available(platform, qEnvironmentVariable("DISPLAY"), qEnvironmentVariable("WAYLAND_DISPLAY"));
}

bool LinuxDisplayAccess::available(const QString &platform, const QString &display, const QString &waylandDisplay)
{
    // "wayland;xcb" tries each in turn; "xcb:option=value" names options
    // after the plugin.
    const QStringList plugins = platform.split(QLatin1Char(';'));
    for (const QString &entry : plugins) {
        const QString plugin = entry.section(QLatin1Char(':'), 0, 0).trimmed();
        if (plugin.isEmpty() || plugin == QLatin1String("xcb")) {
            if (!display.isEmpty())
                return true;
        } else if (plugin.startsWith(QLatin1String("wayland"))) {
            if (!waylandDisplay.isEmpty())
                return true;
        } else {
            return true;
        }
    }
    return false;
}
