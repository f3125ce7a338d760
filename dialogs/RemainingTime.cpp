#include "RemainingTime.h"

#include <QCoreApplication>

// The words belong to the login dialog's texts.
#define AUTH_TR(text) QCoreApplication::translate("authentication", text)

QString RemainingTime::text(qint64 seconds)
{
    const qint64 parts[] = {seconds / 86400, (seconds % 86400) / 3600, (seconds % 3600) / 60,
                            seconds % 60};
    const QString units[] = {AUTH_TR(" days "), AUTH_TR(" hours "), AUTH_TR(" minutes "),
                             AUTH_TR(" seconds ")};
    QString result;
    for (int i = 0; i < 4; ++i) {
        if (parts[i] != 0)
            result += QString::number(parts[i]) + units[i];
    }
    if (result.isEmpty())
        result = AUTH_TR(" 0 seconds ");
    result.chop(1);
    return result;
}
