#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What an account's level lets it do. Anyone who reaches the service may
// watch; commands need a login. A level the program does not know grants
// nothing beyond watching.
class AccessPolicy
{
    Q_DECLARE_TR_FUNCTIONS(AccessPolicy)

public:
    enum class Right {
        Watch,     // see the instrument and the message log
        Operate,   // steer and set the instrument, read it, download its journal
        Qualify,   // new qualification intervals: the password is asked again each time
        Maintain,  // clear the instrument's journal, set its clock
    };

    static constexpr int Administrator = 1;  // the built-in account's level
    static constexpr int Supervisor = 2;
    static constexpr int Operator = 3;       // an accounts line without a level

    static bool allows(int level, Right right);
    // The right a command code needs (Maintain for a code outside 0..22).
    static Right needed(int code);
    // Commands whose login is asked again each time, as the login dialog does.
    static bool asksPasswordAgain(int code);

    // "watch", "operate", "qualify", "maintain": the rights' names on the wire.
    static QString name(Right right);
    static QStringList names(int level);
    static QString levelName(int level);
};
