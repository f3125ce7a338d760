#include "SupervisInfoWriter.h"

#include "StatusDisplay.h"

#include <QSettings>

QString SupervisInfoWriter::syncWord(const ADJ_CMD_STATE &cmd)
{
    if (cmd.syncStatus != 1)
        return QStringLiteral("NOSYNC");
    return cmd.estimationTimeLeft != 0 ? QStringLiteral("INIT") : QStringLiteral("OK");
}

QString SupervisInfoWriter::statusWord(int code)
{
    switch (code) {
    case ChannelState::Backup3:
        return QStringLiteral("BACKUP3");
    case ChannelState::Backup2:
        return QStringLiteral("BACKUP2");
    case ChannelState::Backup1:
        return QStringLiteral("BACKUP1");
    case ChannelState::InGroup:
        return QStringLiteral("INGROUP");
    case ChannelState::Qualifying:
        return QStringLiteral("INCVAL");
    case ChannelState::NotInGroup:
        return QStringLiteral("NOTINGROUP");
    case ChannelState::NotDetected:
        return QStringLiteral("NOTDETECT");
    default:
        return QString();
    }
}

int SupervisInfoWriter::referenceChannel(const Snapshot &s)
{
    for (int n = 1; n <= 4; ++n) {
        if (ChannelState::of(s.detect, s.cmd, n) == ChannelState::InGroup)
            return n;
    }
    return 0;
}

bool SupervisInfoWriter::write(const QString &path, const Snapshot &s, const QDateTime &localNow)
{
    QSettings ini(path, QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");

    ini.beginGroup(QStringLiteral("Device_status"));
    ini.setValue(QStringLiteral("Synchronization_status"), syncWord(s.cmd));
    ini.setValue(QStringLiteral("Freq_offset"), StatusDisplay::number(s.adj.freqOffset, 6));
    ini.setValue(QStringLiteral("Freq_drift"), StatusDisplay::number(s.adj.freqDrift, 6));
    ini.setValue(QStringLiteral("Mode"),
                 s.cmd.switchingMode() ? QStringLiteral("SWITCH") : QStringLiteral("SUM"));
    ini.setValue(QStringLiteral("Err_status"), QStringLiteral("NORMAL"));
    if (s.cmd.switchingMode()) {
        const int ref = referenceChannel(s);
        ini.setValue(QStringLiteral("RefChan"), ref > 0 ? QString::number(ref) : QString());
        ini.setValue(QStringLiteral("RefName"), ref > 0 ? s.names.value(ref - 1) : QString());
    }
    ini.setValue(QStringLiteral("LastUpdate"), localNow.toString(QStringLiteral("yyyy.MM.dd hh:mm:ss")));
    ini.endGroup();

    for (int n = 1; n <= 4; ++n) {
        ini.beginGroup(QStringLiteral("Channel_") + QString::number(n));
        ini.setValue(QStringLiteral("Name"), s.names.value(n - 1));
        const int code = ChannelState::of(s.detect, s.cmd, n);
        const QString status = statusWord(code);
        if (!status.isEmpty()) {
            ini.setValue(QStringLiteral("Status"), status);
            const int seconds = code == ChannelState::Qualifying ? s.cmd.qualTimeLeft[n - 1] / 100 : 0;
            ini.setValue(QStringLiteral("TimeCval"), QString::number(seconds));
        }
        ini.setValue(QStringLiteral("Offset"), StatusDisplay::number(s.adj.chanOffset[n - 1], 6));
        ini.endGroup();
    }
    ini.sync();
    return ini.status() == QSettings::NoError;
}
