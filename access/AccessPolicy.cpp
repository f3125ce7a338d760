#include "AccessPolicy.h"

#include "link/CommandParameters.h"

bool AccessPolicy::allows(int level, Right right)
{
    switch (right) {
    case Right::Watch:
        return true;
    case Right::Operate:
    case Right::Qualify:
        return level >= Administrator && level <= Operator;
    case Right::Maintain:
        return level == Administrator || level == Supervisor;
    }
    return false;
}

AccessPolicy::Right AccessPolicy::needed(int code)
{
    switch (code) {
    case COMMAND_SET_QUAL_INTERVALS:
        return Right::Qualify;
    case COMMAND_CLEAR_JOURNAL:
    case COMMAND_SET_DATETIME:
        // Both rewrite the instrument's own account of when what happened.
        return Right::Maintain;
    default:
        return code >= COMMAND_SET_SYNC_CHLIST && code <= COMMAND_GET_FREQ_LIMIT ? Right::Operate
                                                                                 : Right::Maintain;
    }
}

bool AccessPolicy::asksPasswordAgain(int code)
{
    return code == COMMAND_SET_QUAL_INTERVALS;
}

QString AccessPolicy::name(Right right)
{
    switch (right) {
    case Right::Watch:
        return QStringLiteral("watch");
    case Right::Operate:
        return QStringLiteral("operate");
    case Right::Qualify:
        return QStringLiteral("qualify");
    case Right::Maintain:
        return QStringLiteral("maintain");
    }
    return QString();
}

QStringList AccessPolicy::names(int level)
{
    QStringList rights;
    for (Right r : {Right::Watch, Right::Operate, Right::Qualify, Right::Maintain}) {
        if (allows(level, r))
            rights.append(name(r));
    }
    return rights;
}

QString AccessPolicy::levelName(int level)
{
    switch (level) {
    case Administrator:
        return tr("administrator");
    case Supervisor:
        return tr("supervisor");
    case Operator:
        return tr("operator");
    default:
        return tr("watcher");
    }
}
