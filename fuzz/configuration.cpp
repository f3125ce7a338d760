// The program's configuration file as an operator may have edited it, and
// the same bytes as the remembered reference signal file.
//
// Each input is written to a fresh folder, as "fconn583.ini" and as
// "CurRefSignal.stat", and read from there like at start-up.

#include "fuzz/Require.h"
#include "core/Configuration.h"
#include "core/CurrentReference.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    require(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the scratch file");
    require(f.write(content) == content.size(), "cannot write the scratch file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir scratch;
    static quint64 run = 0;
    require(scratch.isValid(), "no scratch folder");
    // A new folder each time: QSettings caches what it parsed by file name.
    const QString folder = scratch.filePath(QString::number(run++));
    require(QDir().mkpath(folder), "cannot make the scratch folder");
    const QByteArray content(reinterpret_cast<const char *>(data), int(size));

    const QString ini = folder + QLatin1Char('/') + Configuration::fileName();
    writeFile(ini, content);
    const Configuration c = Configuration::read(ini);
    const int intervalMs = c.parameterLogIntervalMs();
    require(intervalMs >= 60000, "parameter log interval below one minute");
    c.hasMainWindowPos();
    require(c.channelNames.size() == 4, "four channel names");

    const QString stat = folder + QLatin1Char('/') + CurrentReference::fileName();
    writeFile(stat, content);
    const CurrentReference ref = CurrentReference::read(stat);
    require(ref.index >= 0 && ref.index < 4, "remembered reference outside channels 1..4");

    QDir(folder).removeRecursively();
    return 0;
}
