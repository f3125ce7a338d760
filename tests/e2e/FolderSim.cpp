#include "FolderSim.h"

#include "SimTrace.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QAtomicInt simCount;
}  // namespace

QString FolderSim::unavailableReason()
{
    if (!QFileInfo(SimProcess::program()).isExecutable())
        return QStringLiteral("no ksr583-sim at %1; run this test through ctest").arg(SimProcess::program());
    if (!SimProcess::ptysAvailable())
        return QStringLiteral("this machine has no pseudo-terminals (/dev/ptmx is missing)");
    return QString();
}

FolderSim::FolderSim(const QString &folder) : m_folder(folder)
{
}

QString FolderSim::inFolder(const char *name) const
{
    return QDir(m_folder).filePath(QLatin1String(name));
}

bool FolderSim::start(const QStringList &extra)
{
    m_link = QDir(m_folder).filePath(QStringLiteral("ksr583-%1-%2")
                                         .arg(QCoreApplication::applicationPid())
                                         .arg(simCount.fetchAndAddRelaxed(1)));
    return m_sim.start(m_link, QStringList{"--trace", inFolder("trace.txt"), "--control", inFolder("control")}
                                   + extra);
}

bool FolderSim::control(const QByteArray &line)
{
    QFile fifo(inFolder("control"));
    if (!fifo.open(QIODevice::WriteOnly))
        return false;
    return fifo.write(line + '\n') == line.size() + 1;
}

QStringList FolderSim::requests() const
{
    QStringList requests;
    const QList<SimTrace::Line> lines = SimTrace::read(inFolder("trace.txt"));
    for (const SimTrace::Line &line : lines) {
        const QString payload = line.payload.isEmpty() ? QStringLiteral("-") : QString::fromLatin1(line.payload.toHex());
        requests << line.code + QLatin1Char(' ') + payload;
    }
    return requests;
}

bool FolderSim::received(const QString &code, const QString &payloadHex) const
{
    const QList<SimTrace::Line> lines = SimTrace::read(inFolder("trace.txt"));
    for (const SimTrace::Line &line : lines) {
        if (line.code == code && (payloadHex.isEmpty() || QString::fromLatin1(line.payload.toHex()) == payloadHex))
            return true;
    }
    return false;
}
