#include "CommandLine.h"

#include "WorkFolder.h"

#include "ProgramVersion.h"

#include <QLocale>
#include <QTranslator>

#include <cstdio>

CommandLine::CommandLine()
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, tr("Shows this help and exits.")),
      m_version({QStringLiteral("v"), QStringLiteral("version")},
                tr("Shows the program's version and exits.")),
      m_workdirOption(QStringLiteral("workdir"),
                      tr("Works in <folder>, made if missing: it holds fconn583.ini, and a "
                         "Path_local of \".\" means it. Without this option the program works "
                         "in the current folder."),
                      tr("folder")),
      m_userWorkdirOption(QStringLiteral("user-workdir"),
                          tr("Works in the user's own folder (%1), made with a default "
                             "fconn583.ini on first start. The menu entry starts the program so.")
                              .arg(WorkFolder::userFolder())),
      m_serviceOption(QStringLiteral("service"),
                      tr("Runs without windows and without a display: polls the instrument, writes "
                         "the status file, the logs and the history, serves the metrics, and stops "
                         "in order on SIGTERM or Ctrl+C. Its work folder gets a default "
                         "fconn583.ini on first start. Program log lines also go to standard "
                         "error.")),
      m_statusOption(QStringLiteral("status"),
                     tr("Prints the instrument's state as the running service sees it and exits: 0 "
                        "when the instrument answers, 1 when the service answers but the instrument "
                        "does not, 2 when no service answers within 5 s. Without ADDRESS it asks the "
                        "service of the work folder; ADDRESS host:port asks one over the network "
                        "(wss:// off the loopback), a ws:// or wss:// URL is taken as it is, and a "
                        "path names a local socket.")),
      m_jsonOption(QStringLiteral("json"), tr("With --status: prints JSON instead of text.")),
      m_attachOption(QStringLiteral("attach"),
                     tr("Opens a window on the instrument of a running service, at ADDRESS "
                        "(host:port, a ws:// or wss:// URL, or the path of a local socket such as an SSH "
                        "tunnel's) or, without it, the service of the "
                        "work folder. Commands need an operator login; the service checks them."))
{
    m_parser.setApplicationDescription(
        tr("Monitoring and control of the KSR-583 microstepper combiner synthesizer."));
    m_parser.addOptions({m_help, m_version, m_workdirOption, m_userWorkdirOption, m_serviceOption, m_attachOption,
                         m_statusOption, m_jsonOption});
    m_parser.addPositionalArgument(QStringLiteral("ADDRESS"), tr("With --attach or --status: the service's address."),
                                   QStringLiteral("[ADDRESS]"));
    m_history.addOptions(m_parser);
}

CommandLine::Request CommandLine::parse(const QStringList &arguments)
{
    const bool parsed = m_parser.parse(arguments);
    if (m_parser.isSet(m_help))
        return Request::Help;
    if (m_parser.isSet(m_version))
        return Request::Version;
    if (!parsed) {
        m_error = m_parser.errorText();
        return Request::Error;
    }
    m_attach = m_parser.isSet(m_attachOption);
    const QStringList positional = m_parser.positionalArguments();
    const bool status = m_parser.isSet(m_statusOption);
    // Only --attach and --status take a value of their own after them.
    const int addresses = (m_attach || status) ? 1 : 0;
    if (positional.size() > addresses) {
        m_error = tr("Unexpected argument: %1").arg(positional.at(addresses));
        return Request::Error;
    }
    if (m_parser.isSet(m_jsonOption) && !status) {
        m_error = tr("--json goes with --status.");
        return Request::Error;
    }
    m_attachAddress = positional.value(0);
    m_userWorkdir = m_parser.isSet(m_userWorkdirOption);
    m_service = m_parser.isSet(m_serviceOption);
    if (m_attach && m_service) {
        m_error = tr("Give either --service or --attach, not both.");
        return Request::Error;
    }
    if (m_userWorkdir && m_parser.isSet(m_workdirOption)) {
        m_error = tr("Give either --workdir or --user-workdir, not both.");
        return Request::Error;
    }
    m_workdir = m_userWorkdir ? WorkFolder::userFolder() : m_parser.value(m_workdirOption);
    if (m_parser.isSet(m_workdirOption) && m_workdir.isEmpty()) {
        m_error = tr("--workdir needs a folder.");
        return Request::Error;
    }
    if (!m_history.read(m_parser, &m_error))
        return Request::Error;
    if (status) {
        if (m_service || m_attach || m_history.kind() != HistoryCommand::Kind::None) {
            m_error = tr("--status asks the running service; give it alone.");
            return Request::Error;
        }
        m_statusAddress = positional.value(0);
        m_json = m_parser.isSet(m_jsonOption);
        return Request::Status;
    }
    if (m_attach && m_history.kind() != HistoryCommand::Kind::None) {
        m_error = tr("--attach opens a window; give the history's commands without it.");
        return Request::Error;
    }
    if (m_service && m_history.kind() != HistoryCommand::Kind::None) {
        m_error = tr("--service runs the program; give the history's commands without it.");
        return Request::Error;
    }
    return m_history.kind() == HistoryCommand::Kind::None ? Request::Run : Request::History;
}

QString CommandLine::helpText() const
{
    return m_parser.helpText();
}

QString CommandLine::versionText()
{
    return QStringLiteral("ksr583-monitor ") + QStringLiteral(KSR_PROGRAM_VERSION);
}

void CommandLine::useSystemLanguage(QTranslator &translator)
{
    if (QLocale().language() == QLocale::Russian && translator.load(QStringLiteral(":/Brontel583_ru")))
        QCoreApplication::installTranslator(&translator);
}

QString CommandLine::platformAsked(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if ((a == QLatin1String("-platform") || a == QLatin1String("--platform")) && i + 1 < arguments.size())
            return arguments.at(i + 1);
    }
    return qEnvironmentVariable("QT_QPA_PLATFORM");
}

QString CommandLine::noDisplayText()
{
    return tr("The window needs a display, and there is none here (DISPLAY is not set). "
              "ksr583-monitor --service runs the program without windows.");
}

int CommandLine::answer(Request request)
{
    QTranslator russian;
    useSystemLanguage(russian);
    // Built after the translator, so that the option texts are translated.
    const CommandLine translated;
    const QString text = request == Request::Help ? translated.helpText() : versionText() + QLatin1Char('\n');
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}
