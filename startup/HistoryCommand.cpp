#include "HistoryCommand.h"

#include "DefaultConfiguration.h"
#include "InstanceLock.h"
#include "WorkFolder.h"

#include "history/HistoryReader.h"
#include "history/HistorySettings.h"
#include "history/HistoryStore.h"
#include "history/ParameterLogImporter.h"
#include "history/StabilityCsv.h"
#include "history/StabilityJob.h"
#include "history/StabilityText.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include <cstdio>

namespace {

void print(FILE *stream, const QString &line)
{
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Path_local of the work folder's configuration, as the program reads it.
QString pathLocal()
{
    QSettings ini(DefaultConfiguration::fileName(), QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    const QVariant value = ini.value(QStringLiteral("Settings/Path_local"), QDir::currentPath());
    const QString path = value.type() == QVariant::StringList ? value.toStringList().join(QStringLiteral(", "))
                                                               : value.toString();
    return QDir::current().absoluteFilePath(path);
}

QString utcText(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODate);
}

}  // namespace

HistoryCommand::HistoryCommand()
    : m_exportOption(QStringLiteral("export-stability"),
                     tr("Writes the stability table (OADEV, MDEV, TDEV, OHDEV with their confidence intervals) of "
                        "<series>, offset or channel1 .. channel4, over --from .. --to into --output, and exits."),
                     tr("series")),
      m_fromOption(QStringLiteral("from"), tr("The beginning of the range, ISO 8601 UTC."), tr("time")),
      m_toOption(QStringLiteral("to"), tr("The end of the range, ISO 8601 UTC."), tr("time")),
      m_tausOption(QStringLiteral("taus"), tr("The averaging times: octave (the default), decade or dense."),
                   tr("spacing"), QStringLiteral("octave")),
      m_outputOption(QStringLiteral("output"), tr("The CSV file the stability table is written to."), tr("file")),
      m_importOption(QStringLiteral("import-parameter-logs"),
                     tr("Imports the parameter logs in Logs/Parameters into the history, as the Options menu "
                        "does, and exits."))
{
}

void HistoryCommand::addOptions(QCommandLineParser &parser) const
{
    parser.addOptions({m_exportOption, m_fromOption, m_toOption, m_tausOption, m_outputOption, m_importOption});
}

bool HistoryCommand::mentioned(const QCommandLineParser &parser) const
{
    for (const QCommandLineOption *o : {&m_exportOption, &m_fromOption, &m_toOption, &m_tausOption, &m_outputOption,
                                        &m_importOption}) {
        if (parser.isSet(*o))
            return true;
    }
    return false;
}

bool HistoryCommand::seriesOf(const QString &name, Series::Id *series)
{
    if (name == QLatin1String("offset")) {
        *series = Series::FreqOffset;
        return true;
    }
    for (int n = 1; n <= 4; ++n) {
        if (name == QStringLiteral("channel%1").arg(n)) {
            *series = Series::offset(n);
            return true;
        }
    }
    return false;
}

qint64 HistoryCommand::utcMsOf(const QString &text)
{
    QDateTime t = QDateTime::fromString(text.trimmed(), Qt::ISODateWithMs);
    if (!t.isValid())
        return 0;
    if (t.timeSpec() == Qt::LocalTime)
        t.setTimeSpec(Qt::UTC);
    return t.toMSecsSinceEpoch();
}

bool HistoryCommand::read(const QCommandLineParser &parser, QString *error)
{
    const bool exporting = parser.isSet(m_exportOption);
    const bool importing = parser.isSet(m_importOption);
    const bool exportOnly = parser.isSet(m_fromOption) || parser.isSet(m_toOption) || parser.isSet(m_tausOption)
        || parser.isSet(m_outputOption);
    if (exporting && importing) {
        *error = tr("Give either --export-stability or --import-parameter-logs, not both.");
        return false;
    }
    if (!exporting) {
        if (exportOnly) {
            *error = tr("--from, --to, --taus and --output belong to --export-stability.");
            return false;
        }
        m_kind = importing ? Kind::ImportParameterLogs : Kind::None;
        return true;
    }
    m_seriesName = parser.value(m_exportOption);
    if (!seriesOf(m_seriesName, &m_series)) {
        *error = tr("--export-stability needs offset, channel1, channel2, channel3 or channel4, not \"%1\".")
                     .arg(m_seriesName);
        return false;
    }
    m_range = {utcMsOf(parser.value(m_fromOption)), utcMsOf(parser.value(m_toOption))};
    if (m_range.fromMs == 0 || m_range.toMs == 0) {
        *error = tr("--export-stability needs --from and --to, ISO 8601 times such as 2026-03-01T00:00:00Z.");
        return false;
    }
    if (m_range.isEmpty()) {
        *error = tr("--to must come after --from.");
        return false;
    }
    bool known = false;
    for (int s = 0; s < TauSpacing::SpacingCount; ++s) {
        if (parser.value(m_tausOption) == QLatin1String(TauSpacing::key(TauSpacing::Spacing(s)))) {
            m_spacing = TauSpacing::Spacing(s);
            known = true;
        }
    }
    if (!known) {
        *error = tr("--taus is octave, decade or dense, not \"%1\".").arg(parser.value(m_tausOption));
        return false;
    }
    if (parser.value(m_outputOption).isEmpty()) {
        *error = tr("--export-stability needs --output and a file.");
        return false;
    }
    // Named from where the command was given, before the work folder is entered.
    m_output = QFileInfo(parser.value(m_outputOption)).absoluteFilePath();
    m_kind = Kind::ExportStability;
    return true;
}

int HistoryCommand::fail(int code, const QString &line)
{
    print(stderr, line);
    return code;
}

int HistoryCommand::run(const QString &workdir, bool userWorkdir) const
{
    QString error;
    if (!workdir.isEmpty() && !WorkFolder::enter(workdir, userWorkdir, &error))
        return fail(BadOptions, error);
    const QString local = pathLocal();
    if (m_kind == Kind::ExportStability)
        return exportStability(local);
    // The import writes the history a running program writes: it takes the
    // work folder as the program does, or leaves it to that program's menu.
    InstanceLock lock(QDir::currentPath());
    switch (lock.acquire()) {
    case InstanceLock::Outcome::Held:
        break;
    case InstanceLock::Outcome::InUse:
        return fail(FolderInUse, lock.problem() + QLatin1Char(' ')
                                     + tr("The parameter logs are not imported; the running program's Options "
                                          "menu imports them."));
    case InstanceLock::Outcome::CannotWrite:
        return fail(ImportFailed, lock.problem());
    }
    return importParameterLogs(local);
}

int HistoryCommand::exportStability(const QString &pathLocal) const
{
    const QString path = HistoryStore::pathIn(pathLocal);
    if (!QFileInfo::exists(path))
        return fail(NoHistory, tr("No history: %1 does not exist.").arg(QDir::toNativeSeparators(path)));
    HistoryReader reader(path);
    if (!reader.open())
        return fail(NoHistory, tr("No history in %1: %2").arg(QDir::toNativeSeparators(path), reader.reason()));

    StabilityReadings readings;
    StabilityJob::read(reader, m_series, m_range, {}, &readings);
    const QString range = utcText(m_range.fromMs) + QStringLiteral(" .. ") + utcText(m_range.toMs);
    if (readings.read == 0)
        return fail(NoReadings, tr("No readings of %1 in %2.").arg(m_seriesName, range));
    StabilityRequest request;
    request.series = m_series;
    request.range = m_range;
    request.options.spacing = m_spacing;
    const StabilityResult result = StabilityJob::analyse(readings, request);
    if (result.curves.isEmpty() || result.curves.first().points.isEmpty())
        return fail(NoReadings, tr("Too few regular readings of %1 in %2: %3")
                                    .arg(m_seriesName, range, StabilityText::info(result)));

    QSaveFile file(m_output);
    if (!file.open(QIODevice::WriteOnly) || file.write(StabilityCsv::table(result.curves)) < 0 || !file.commit())
        return fail(CannotWrite, tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(m_output), file.errorString()));
    print(stdout, StabilityText::info(result));
    return 0;
}

int HistoryCommand::importParameterLogs(const QString &pathLocal) const
{
    const QString logs = pathLocal + QStringLiteral("/Logs");
    if (!QDir().mkpath(logs))
        return fail(ImportFailed, tr("Cannot make the folder %1.").arg(QDir::toNativeSeparators(logs)));
    const int keepDays = HistorySettings::read(DefaultConfiguration::fileName()).keepDays;
    ParameterLogImporter importer(HistoryStore::pathIn(pathLocal), keepDays,
                                  QDateTime::currentDateTimeUtc().toMSecsSinceEpoch());
    const ParameterLogImporter::Report report = importer.importFolder(logs + QStringLiteral("/Parameters"));
    print(stdout, ParameterLogImporter::summary(report));
    return report.failed ? ImportFailed : 0;
}
