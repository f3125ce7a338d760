#include "Service.h"

#include "CommandLine.h"
#include "InstanceLock.h"
#include "ServiceHost.h"
#include "WorkFolder.h"
#include "core/LocalCore.h"
#include "link/LinkClock.h"
#include "platform/StopRequests.h"
#include "remote/ServiceSettings.h"

#include <QDir>
#include <QTranslator>

#include <cstdio>
#include <memory>

namespace {

void say(const QString &line)
{
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
}

}  // namespace

int Service::run(const QString &workdir)
{
    // Until the configuration names a language, the system's.
    auto systemLanguage = std::make_unique<QTranslator>();
    CommandLine::useSystemLanguage(*systemLanguage);
    QString error;
    if (!WorkFolder::enter(workdir.isEmpty() ? QDir::currentPath() : workdir, true, &error)) {
        say(error);
        return FolderNotWritable;
    }
    InstanceLock lock(QDir::currentPath());
    switch (lock.acquire()) {
    case InstanceLock::Outcome::Held:
        break;
    case InstanceLock::Outcome::InUse:
        say(lock.problem());
        return FolderInUse;
    case InstanceLock::Outcome::CannotWrite:
        say(lock.problem());
        return FolderNotWritable;
    }

    // Listening before the core starts: a stop asked for during start-up
    // waits in the event loop and is not lost.
    const std::unique_ptr<StopRequests> stops = StopRequests::forThisSystem();
    systemLanguage.reset();
    int code = Stopped;
    {
        LocalCore::Options options;
        options.unattended = true;
        LocalCore core(options);
        core.start();
        if (!core.started())
            return FolderNotWritable;  // the core has said which folder
        // Windows and scripts attach through the host; without its local
        // socket the service still keeps watch, and says why nobody can attach.
        ServiceHost host(core, std::make_shared<LinkClock>());
        host.useLogins(core.configuration());
        host.listen(QDir::currentPath(), ServiceSettings::read(Configuration::fileName()));
        QObject::connect(stops.get(), &StopRequests::stopRequested, &core, [&core] {
            core.close();
            QCoreApplication::quit();
        });
        code = QCoreApplication::exec();
    }
    stops->stopped();
    return code;
}
