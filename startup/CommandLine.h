#pragma once

#include "HistoryCommand.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QTranslator;

// The program's options. Parsing needs no application object, so that
// --help and --version are answered before a display is asked for; the
// texts of the answer need one (QCoreApplication will do).
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum class Request { Run, Help, Version, History, Status, Error };

    CommandLine();
    CommandLine(const CommandLine &) = delete;
    CommandLine &operator=(const CommandLine &) = delete;

    // Help and version win over any mistake in the rest, so that
    // "-platform xcb --help" answers before Qt has taken its own options out.
    Request parse(const QStringList &arguments);
    QString errorText() const { return m_error; }

    // The folder named by --workdir, or the per-user folder for
    // --user-workdir; empty for the current folder.
    QString workdir() const { return m_workdir; }
    bool userWorkdir() const { return m_userWorkdir; }
    // --service: the work without windows.
    bool service() const { return m_service; }
    // For Request::Status: the service's address (empty: the work folder's
    // local socket) and whether JSON is asked for.
    QString statusAddress() const { return m_statusAddress; }
    bool json() const { return m_json; }
    // --attach [ADDRESS]: a window on a service's instrument; the address is
    // empty for the service of the work folder.
    bool attach() const { return m_attach; }
    QString attachAddress() const { return m_attachAddress; }
    // For Request::History: what to do without a display.
    const HistoryCommand &history() const { return m_history; }
    // A history command was asked for, possibly with a mistake: it is
    // answered without a display.
    bool asksHistory() const { return m_history.mentioned(m_parser); }

    QString helpText() const;
    static QString versionText();

    // Prints the help (in Russian where the system speaks it) or the version
    // to standard output; returns the exit code. Needs an application object.
    static int answer(Request request);
    // Installs the Russian texts where the system speaks Russian, for what is
    // said before the configuration names a language. Needs an application
    // object.
    static void useSystemLanguage(QTranslator &translator);

    // The Qt platform the arguments ask for ("-platform offscreen"), else
    // QT_QPA_PLATFORM; empty for the default one.
    static QString platformAsked(const QStringList &arguments);
    // The one line the window mode says where there is no display.
    static QString noDisplayText();

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineOption m_workdirOption;
    QCommandLineOption m_userWorkdirOption;
    QCommandLineOption m_serviceOption;
    QCommandLineOption m_statusOption;
    QCommandLineOption m_jsonOption;
    QCommandLineOption m_attachOption;
    HistoryCommand m_history;
    QString m_error;
    QString m_workdir;
    bool m_userWorkdir = false;
    bool m_service = false;
    QString m_statusAddress;
    bool m_json = false;
    bool m_attach = false;
    QString m_attachAddress;
};
