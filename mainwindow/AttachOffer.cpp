#include "AttachOffer.h"

#include "dialogs/MessageBox.h"
#include "remote/ServiceSettings.h"

#include <QLocalSocket>

AttachOffer::Answer AttachOffer::ask(const QString &workFolder, const QString &problem)
{
    // A one-process window holds the folder too, but offers nothing to attach to.
    QLocalSocket probe;
    probe.connectToServer(ServiceSettings::localServerName(workFolder));
    const bool answers = probe.waitForConnected(AnswerWaitMs);
    probe.abort();
    if (!answers) {
        MessageBox::warning(nullptr, problem);
        return Answer::NoService;
    }
    const QString question = problem + QLatin1Char('\n') + tr("A service runs there. Open a window attached to it?");
    return MessageBox::question(nullptr, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
                   == QMessageBox::Yes
               ? Answer::Attach
               : Answer::Declined;
}
