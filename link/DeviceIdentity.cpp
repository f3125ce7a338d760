#include "DeviceIdentity.h"

#include "Frame.h"

#include <QTextCodec>

namespace {

// The bytes of a fixed-size field up to its first zero; never past the field.
QByteArray zeroTerminated(const QByteArray &answer, int offset, int size)
{
    const QByteArray field = answer.mid(offset, size);
    const int end = field.indexOf('\0');
    return end < 0 ? field : field.left(end);
}

QString twoDigits(quint8 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString DeviceIdentity::identificationText(const QByteArray &answer)
{
    const QByteArray bytes = zeroTerminated(answer, TextOffset, TextSize);
    if (QTextCodec *codec = QTextCodec::codecForName("Windows-1251"))
        return codec->toUnicode(bytes);
    return QString::fromLatin1(bytes);
}

bool DeviceIdentity::qualifies(const QString &text)
{
    return text.contains(QLatin1String("583"));
}

QString DeviceIdentity::displayItem(const QString &port, const QString &text)
{
    return text.isEmpty() ? port : port + QLatin1Char(' ') + text;
}

DeviceInfo DeviceIdentity::deviceInfo(const QByteArray &answer)
{
    DeviceInfo info;
    info.softwareVersNumber = QString::fromUtf8(zeroTerminated(answer, 8, 8));
    info.softwareVersDate = QString::fromUtf8(zeroTerminated(answer, 16, 11));
    info.serialNumber = QString::fromUtf8(zeroTerminated(answer, 27, 8));
    info.comparatorVers = QString::number(Frame::u8(answer, 35));
    info.outherComparatorVers = twoDigits(Frame::u8(answer, 36));
    info.PLIS_CPUvers = QString::number(Frame::u8(answer, 37));
    info.OSFvers = twoDigits(Frame::u8(answer, 38)) + QLatin1Char('.') + twoDigits(Frame::u8(answer, 39));
    return info;
}
