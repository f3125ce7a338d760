#include "dialogs/MessageBox.h"
#include "mainwindow/MainWindow.h"
#include "platform/ParentConsole.h"
#include "startup/CommandLine.h"
#include "startup/WorkFolder.h"

#include <QApplication>
#include <QTextCodec>

#include <cstdio>

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

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("ksr583-monitor"));

    // Help, version and the history's commands need no display: they are
    // answered before the GUI application would ask for one.
    CommandLine early;
    const CommandLine::Request request = early.parse(argumentList(argc, argv));
    if (request == CommandLine::Request::Help || request == CommandLine::Request::Version) {
        QCoreApplication app(argc, argv);
        useUtf8();
        ParentConsole::forThisSystem()->attach();
        return CommandLine::answer(request);
    }
    if (request == CommandLine::Request::History
        || (request == CommandLine::Request::Error && early.asksHistory())) {
        QCoreApplication app(argc, argv);
        useUtf8();
        ParentConsole::forThisSystem()->attach();
        if (request == CommandLine::Request::Error) {
            std::fprintf(stderr, "%s\n", qPrintable(early.errorText()));
            return 1;
        }
        CommandLine::useSystemLanguage();
        return early.history().run(early.workdir(), early.userWorkdir());
    }

    QApplication app(argc, argv);
    useUtf8();
    QGuiApplication::setDesktopFileName(QStringLiteral("ksr583-monitor"));

    // Qt has taken its own options (-platform, -style) out by now.
    CommandLine command;
    if (command.parse(QCoreApplication::arguments()) == CommandLine::Request::Error) {
        ParentConsole::forThisSystem()->attach();
        std::fprintf(stderr, "%s\n%s", qPrintable(command.errorText()), qPrintable(command.helpText()));
        return 1;
    }
    if (!command.workdir().isEmpty()) {
        QString error;
        if (!WorkFolder::enter(command.workdir(), command.userWorkdir(), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            MessageBox::warning(nullptr, error);
            return 1;
        }
    }

    MainWindow window;
    window.show();
    return app.exec();
}
