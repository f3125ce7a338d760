#include "RemainingTime.h"

#include <QCoreApplication>

QString RemainingTime::text(qint64 seconds)
{
    const qint64 parts[] = {seconds / 86400, (seconds % 86400) / 3600, (seconds % 3600) / 60,
                            seconds % 60};
    // The words belong to the login dialog's texts.
    const QString units[] = {QCoreApplication::translate("authentication", " days "),
                             QCoreApplication::translate("authentication", " hours "),
                             QCoreApplication::translate("authentication", " minutes "),
                             QCoreApplication::translate("authentication", " seconds ")};
    QString result;
    for (int i = 0; i < 4; ++i) {
        if (parts[i] != 0)
            result += QString::number(parts[i]) + units[i];
    }
    if (result.isEmpty())
        result = QCoreApplication::translate("authentication", " 0 seconds ");
    result.chop(1);
    return result;
}
