#pragma once

#include <QCoreApplication>
#include <QString>

// A window started on a work folder that another program holds: when that
// program is a service that answers on the folder's local socket, the
// operator is asked whether to attach to it instead of leaving.
class AttachOffer
{
    Q_DECLARE_TR_FUNCTIONS(AttachOffer)

public:
    enum class Answer { NoService, Declined, Attach };

    // `problem`: the lock's line that says who holds the folder; it opens the
    // question, and is all that is said when no service answers.
    static Answer ask(const QString &workFolder, const QString &problem);

    // How long a service is given to answer the local socket.
    static constexpr int AnswerWaitMs = 1000;
};
