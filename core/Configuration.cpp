#include "Configuration.h"

#include <QDir>
#include <QSettings>

#include <limits>

namespace {

// QSettings splits an unquoted value with commas into a list; a channel name
// typed as "Rb, AHM#1" by hand must still read as one text.
QString text(const QSettings &ini, const QString &key, const QString &def)
{
    const QVariant value = ini.value(key, def);
    if (value.type() == QVariant::StringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

int integer(const QSettings &ini, const QString &key, int def)
{
    bool ok = false;
    const int value = text(ini, key, QString::number(def)).trimmed().toInt(&ok);
    return ok ? value : def;
}

}  // namespace

Configuration Configuration::read(const QString &file)
{
    QSettings ini(file, QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    Configuration c;
    const QString here = QDir::currentPath();

    c.mainWindowPos = {integer(ini, QStringLiteral("Windows_Position/Main_Window_x"), 0),
                       integer(ini, QStringLiteral("Windows_Position/Main_Window_y"), 0)};
    c.controlWindowPos = {integer(ini, QStringLiteral("Windows_Position/Control_Window_x"), 0),
                          integer(ini, QStringLiteral("Windows_Position/Control_Window_y"), 0)};

    c.russian = text(ini, QStringLiteral("Settings/Language"), QStringLiteral("EN")).toUpper()
        == QLatin1String("RU");

    c.passwordsFile = text(ini, QStringLiteral("Passwords/File_passwords"),
                           here + QStringLiteral("/passwords.ini"));
    c.numOfAttempts = integer(ini, QStringLiteral("Passwords/NumOfAttemps"), 5);
    c.numOfSeconds = integer(ini, QStringLiteral("Passwords/NumOfSeconds"), 1800);

    c.supervisInfoFile = ini.value(QStringLiteral("Settings/SupervisInfoFile"), QStringLiteral("1")).toBool();
    c.pathLocal = text(ini, QStringLiteral("Settings/Path_local"), here);
    c.port = text(ini, QStringLiteral("Settings/COM"), QStringLiteral("COM21"));
    c.analyseAtStart = integer(ini, QStringLiteral("Settings/AnalyseAtStart"), 1);
    c.monitorInterval = integer(ini, QStringLiteral("Settings/MonitorInterval"), 10);
    c.controlAvailable = integer(ini, QStringLiteral("Settings/ControlAvailable"), 1);
    c.debugLevel = integer(ini, QStringLiteral("Settings/DEBUG_LEVEL"), 0);
    c.writeParamPeriod = integer(ini, QStringLiteral("Settings/WriteParamInFile_Period"), 1);

    c.notifications = integer(ini, QStringLiteral("Settings/Notifications"), 1) != 0;
    c.metricsPort = integer(ini, QStringLiteral("Metrics/Port"), 0);
    // An empty address would listen on every interface: only a written one may.
    c.metricsAddress = text(ini, QStringLiteral("Metrics/Address"), QString()).trimmed();
    if (c.metricsAddress.isEmpty())
        c.metricsAddress = QStringLiteral("127.0.0.1");

    for (int n = 1; n <= 4; ++n) {
        const QString number = QString::number(n);
        c.channelNames << text(ini, QStringLiteral("Signal_names/Channel_") + number,
                               QStringLiteral("Channel ") + number).simplified();
    }
    return c;
}

int Configuration::parameterLogIntervalMs() const
{
    // A period of years must not wrap round to a short or negative interval.
    const qint64 ms = qint64(qMax(1, writeParamPeriod)) * 60000;
    return int(qMin<qint64>(ms, std::numeric_limits<int>::max()));
}

void ExitSettings::write(const QString &file) const
{
    QSettings ini(file, QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    ini.setValue(QStringLiteral("Settings/COM"), port);
    ini.setValue(QStringLiteral("Settings/AnalyseAtStart"), analyseAtStart);
    for (int n = 0; n < 4; ++n)
        ini.setValue(QStringLiteral("Signal_names/Channel_") + QString::number(n + 1),
                     channelNames.value(n));
    ini.setValue(QStringLiteral("Windows_Position/Main_Window_x"), mainWindowPos.x());
    ini.setValue(QStringLiteral("Windows_Position/Main_Window_y"), mainWindowPos.y());
    ini.setValue(QStringLiteral("Windows_Position/Control_Window_x"), controlWindowPos.x());
    ini.setValue(QStringLiteral("Windows_Position/Control_Window_y"), controlWindowPos.y());
    if (!language.isEmpty())
        ini.setValue(QStringLiteral("Settings/Language"), language);
    ini.setValue(QStringLiteral("Settings/SupervisInfoFile"),
                 supervisInfoFile ? QStringLiteral("1") : QStringLiteral("0"));
}
