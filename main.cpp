#include "core/LocalCore.h"
#include "dialogs/MessageBox.h"
#include "mainwindow/AttachOffer.h"
#include "mainwindow/AttachedWindow.h"
#include "mainwindow/MainWindow.h"
#include "platform/DisplayAccess.h"
#include "platform/ParentConsole.h"
#include "startup/CommandLine.h"
#include "startup/InstanceLock.h"
#include "startup/Service.h"
#include "startup/StatusCommand.h"
#include "startup/WorkFolder.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextCodec>
#include <QTranslator>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void useUtf8()
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("utf8"));
}

void sayLine(const QString &line)
{
    ParentConsole::forThisSystem()->attach();
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

// The history's commands run beside a running program, or take its folder
// (an import), as HistoryCommand decides.
int runHistory(int argc, char *argv[], const CommandLine &command, CommandLine::Request request)
{
    QCoreApplication app(argc, argv);
    useUtf8();
    ParentConsole::forThisSystem()->attach();
    if (request == CommandLine::Request::Error) {
        std::fprintf(stderr, "%s\n", qPrintable(command.errorText()));
        return 1;
    }
    QTranslator systemLanguage;
    CommandLine::useSystemLanguage(systemLanguage);
    return command.history().run(command.workdir(), command.userWorkdir());
}

int runWindow(int argc, char *argv[])
{
    QApplication app(argc, argv);
    useUtf8();
    QGuiApplication::setDesktopFileName(QStringLiteral("ksr583-monitor"));
    QTranslator systemLanguage;
    CommandLine::useSystemLanguage(systemLanguage);

    // Qt has taken its own options (-platform, -style) out by now.
    CommandLine command;
    if (command.parse(QCoreApplication::arguments()) == CommandLine::Request::Error) {
        ParentConsole::forThisSystem()->attach();
        std::fprintf(stderr, "%s\n%s", qPrintable(command.errorText()), qPrintable(command.helpText()));
        return 1;
    }
    // Attached, the service holds the folder; the window only names it.
    std::optional<ServiceAddress> service;
    std::unique_ptr<InstanceLock> lock;
    if (command.attach()) {
        const QString folder = command.workdir().isEmpty() ? QDir::currentPath() : command.workdir();
        ServiceAddress address;
        QString error;
        if (!ServiceAddress::parse(command.attachAddress(), folder, &address, &error)) {
            sayLine(error);
            return 1;
        }
        service = address;
    } else {
        if (!command.workdir().isEmpty()) {
            QString error;
            if (!WorkFolder::enter(command.workdir(), command.userWorkdir(), &error)) {
                sayLine(error);
                MessageBox::warning(nullptr, error);
                return 1;
            }
        }
        // A folder that cannot be written gets no lock; the window says what
        // it cannot write there, as it always has.
        lock = std::make_unique<InstanceLock>(QDir::currentPath());
        if (lock->acquire() == InstanceLock::Outcome::InUse) {
            sayLine(lock->problem());
            if (AttachOffer::ask(QDir::currentPath(), lock->problem()) != AttachOffer::Answer::Attach)
                return 1;
            ServiceAddress address;
            QString error;
            ServiceAddress::parse(QString(), QDir::currentPath(), &address, &error);
            service = address;
            lock.reset();
        }
    }

    QCoreApplication::removeTranslator(&systemLanguage);
    const std::unique_ptr<MainWindow> window =
        service ? AttachedWindow::open(*service) : std::make_unique<MainWindow>(std::make_unique<LocalCore>());
    window->show();
    return app.exec();
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("ksr583-monitor"));

    // Help, version, the history's commands and the service need no display:
    // they are answered before the GUI application would ask for one, and
    // before any instance lock.
    const QStringList arguments = argumentList(argc, argv);
    CommandLine early;
    const CommandLine::Request request = early.parse(arguments);
    if (request == CommandLine::Request::Help || request == CommandLine::Request::Version) {
        QCoreApplication app(argc, argv);
        useUtf8();
        ParentConsole::forThisSystem()->attach();
        return CommandLine::answer(request);
    }
    if (request == CommandLine::Request::History
        || (request == CommandLine::Request::Error && early.asksHistory()))
        return runHistory(argc, argv, early, request);
    if (request == CommandLine::Request::Status) {
        QCoreApplication app(argc, argv);
        useUtf8();
        ParentConsole::forThisSystem()->attach();
        // Only read: the folder is neither made nor entered.
        const QFileInfo named(early.workdir());
        const QString folder = early.workdir().isEmpty() ? QDir::currentPath()
                               : named.exists()          ? named.canonicalFilePath()
                                                         : named.absoluteFilePath();
        return StatusCommand(early.statusAddress(), early.json()).run(folder);
    }
    if (request == CommandLine::Request::Run && early.service()) {
        QCoreApplication app(argc, argv);
        useUtf8();
        // Its lines and Ctrl+C reach the console that started it.
        ParentConsole::forThisSystem()->attach();
        return Service::run(early.workdir());
    }
    if (!DisplayAccess::forThisSystem()->available(CommandLine::platformAsked(arguments))) {
        // Without a display, Qt's own options can mean nothing: the mistake
        // is told as it is.
        sayLine(request == CommandLine::Request::Error ? early.errorText() : CommandLine::noDisplayText());
        return 1;
    }
    return runWindow(argc, argv);
}
