#include "SimIdentity.h"

#include <QTextCodec>

namespace {

QByteArray windows1251(const QString &text)
{
    QTextCodec *codec = QTextCodec::codecForName("Windows-1251");
    return codec ? codec->fromUnicode(text) : text.toLatin1();
}

// The text in a field of `size` bytes, cut to fit and zero-padded.
QByteArray field(const QByteArray &text, int size)
{
    QByteArray f = text.left(size);
    f.append(QByteArray(size - f.size(), '\0'));
    return f;
}

}  // namespace

QByteArray SimIdentity::identificationField() const
{
    return field(windows1251(identification), IdentificationSize);
}

QByteArray SimIdentity::infoBlock() const
{
    // Each text keeps one zero byte after it, so a reader that stops at the
    // first zero never runs into the next field.
    QByteArray b;
    b.append(field(softwareVersion.toUtf8().left(VersionSize - 1), VersionSize));
    b.append(field(softwareDate.toUtf8().left(DateSize - 1), DateSize));
    b.append(field(serialNumber.toUtf8().left(SerialSize - 1), SerialSize));
    b.append(char(comparatorVersion));
    b.append(char(otherComparatorVersion));
    b.append(char(plisCpuVersion));
    b.append(char(osfMajor));
    b.append(char(osfMinor));
    return b;
}

QString SimIdentity::checkIdentification(const QString &text)
{
    QTextCodec *codec = QTextCodec::codecForName("Windows-1251");
    if (codec && !codec->canEncode(text))
        return QStringLiteral("the identity must be Windows-1251 text");
    if (windows1251(text).size() > IdentificationSize)
        return QStringLiteral("the identity holds at most %1 bytes").arg(IdentificationSize);
    return QString();
}

QString SimIdentity::checkSerial(const QString &text)
{
    if (text.toUtf8().size() > SerialSize - 1)
        return QStringLiteral("the serial number holds at most %1 bytes").arg(SerialSize - 1);
    return QString();
}
