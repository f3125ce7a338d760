#include "SupervisInfoWriter.h"

#include "StatusDisplay.h"
#include "platform/FileReplacement.h"

#include <QFile>
#include <QSettings>

namespace {

const QString kTimeFormat = QStringLiteral("yyyy.MM.dd hh:mm:ss");

// Every record the file draws on was read during this connection.
bool isCurrent(const StatusSnapshot &s)
{
    return s.connected && s.detect && s.cmd && s.adj;
}

}  // namespace

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

bool SupervisInfoWriter::write(const QString &path, const StatusSnapshot &s, const QDateTime &localNow)
{
    // Written into a copy beside the file, which then takes its place whole:
    // keys this write leaves out keep their values, and a reader never sees
    // half a file, on Windows even while it holds the old one open.
    const QString draft = path + QStringLiteral(".new");
    QFile::remove(draft);
    if (QFile::exists(path) && !QFile::copy(path, draft))
        return false;
    QSettings ini(draft, QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    ini.setAtomicSyncRequired(false);
    const bool current = isCurrent(s);

    ini.beginGroup(QStringLiteral("Device_status"));
    ini.setValue(QStringLiteral("Synchronization_status"), current ? syncWord(*s.cmd) : QStringLiteral("NOSYNC"));
    if (current) {
        ini.setValue(QStringLiteral("Freq_offset"), StatusDisplay::number(s.adj->freqOffset, 6));
        ini.setValue(QStringLiteral("Freq_drift"), StatusDisplay::number(s.adj->freqDrift, 6));
        ini.setValue(QStringLiteral("Mode"), s.cmd->switchingMode() ? QStringLiteral("SWITCH") : QStringLiteral("SUM"));
    }
    ini.setValue(QStringLiteral("Err_status"), current ? QStringLiteral("NORMAL") : QStringLiteral("NOCONNECTION"));
    if (const std::optional<int> ref = current ? s.referenceChannel() : std::nullopt) {
        ini.setValue(QStringLiteral("RefChan"), *ref > 0 ? QString::number(*ref) : QString());
        ini.setValue(QStringLiteral("RefName"), *ref > 0 ? s.channelName(*ref) : QString());
    }
    ini.setValue(QStringLiteral("LastUpdate"), localNow.toString(kTimeFormat));
    ini.setValue(QStringLiteral("Connection"), s.connected ? QStringLiteral("YES") : QStringLiteral("NO"));
    ini.setValue(QStringLiteral("LastAnswer"),
                 s.lastAnswerUtc.isValid() ? s.lastAnswerUtc.toLocalTime().toString(kTimeFormat) : QString());
    ini.endGroup();

    for (int n = 1; n <= StatusSnapshot::Channels; ++n) {
        ini.beginGroup(QStringLiteral("Channel_") + QString::number(n));
        ini.setValue(QStringLiteral("Name"), s.channelName(n));
        // -1: not known, which has no word either.
        const int code = current ? s.channelState(n).value_or(-1) : -1;
        const QString status = statusWord(code);
        if (!status.isEmpty()) {
            ini.setValue(QStringLiteral("Status"), status);
            const int seconds = code == ChannelState::Qualifying ? s.cmd->qualTimeLeft[n - 1] / 100 : 0;
            ini.setValue(QStringLiteral("TimeCval"), QString::number(seconds));
        }
        if (current)
            ini.setValue(QStringLiteral("Offset"), StatusDisplay::number(s.adj->chanOffset[n - 1], 6));
        ini.endGroup();
    }
    ini.sync();
    if (ini.status() == QSettings::NoError && FileReplacement::forThisSystem()->replace(draft, path))
        return true;
    QFile::remove(draft);
    return false;
}
