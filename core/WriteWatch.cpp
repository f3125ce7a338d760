#include "WriteWatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {
const QString Red = QStringLiteral("red");
const QString Black = QStringLiteral("black");
}  // namespace

QVector<WriteWatch::Line> WriteWatch::makeFolders(const QString &pathLocal)
{
    const auto failing = [this](std::initializer_list<Target> targets) {
        for (Target t : targets)
            m_state[t] = State::Failing;
    };
    const auto line = [](const QString &folder, const QString &reason) {
        return Line{tr("Cannot write to the folder \"%1\": %2").arg(shown(folder), reason), Red};
    };

    if (!pathLocal.isEmpty() && !QDir().mkpath(pathLocal)) {
        failing({ProgramLog, ParameterLog, StatusFile});
        return {line(pathLocal, folderProblem(pathLocal))};
    }
    QVector<Line> lines;
    const QString logs = pathLocal + QStringLiteral("/Logs");
    const QString parameters = logs + QStringLiteral("/Parameters");
    const QString status = pathLocal + QStringLiteral("/Status");
    if (const QString problem = folderProblem(logs); !problem.isEmpty()) {
        failing({ProgramLog, ParameterLog});
        lines.append(line(logs, problem));
    } else if (const QString problem = folderProblem(parameters); !problem.isEmpty()) {
        failing({ParameterLog});
        lines.append(line(parameters, problem));
    }
    if (const QString problem = folderProblem(status); !problem.isEmpty()) {
        failing({StatusFile});
        lines.append(line(status, problem));
    }
    return lines;
}

WriteWatch::Line WriteWatch::written(Target target, const QString &path, bool ok)
{
    State &state = m_state[target];
    if (ok) {
        const bool recovered = state == State::Failing;
        state = State::Working;
        return recovered ? Line{tr("Writing \"%1\" works again").arg(shown(path)), Black} : Line();
    }
    if (state == State::Failing)
        return {};
    state = State::Failing;
    return {tr("Cannot write \"%1\": %2").arg(shown(path), fileProblem(path)), Red};
}

QString WriteWatch::folderProblem(const QString &folder)
{
    QDir().mkpath(folder);
    // Creating a file tells what the folder's mere existence cannot (and
    // gives the system's own reason): a read-only or full disk, no access.
    QTemporaryFile probe(folder + QStringLiteral("/.write-test-XXXXXX"));
    return probe.open() ? QString() : probe.errorString();
}

QString WriteWatch::shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString WriteWatch::fileProblem(const QString &path)
{
    const QString folderReason = folderProblem(QFileInfo(path).absolutePath());
    if (!folderReason.isEmpty())
        return folderReason;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return file.errorString();
    return tr("the write did not complete");
}
