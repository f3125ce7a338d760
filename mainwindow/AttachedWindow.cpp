#include "AttachedWindow.h"

#include "core/RemoteCore.h"
#include "dialogs/MessageBox.h"
#include "remote/CertificatePins.h"

namespace {

// The operator compares the digest with the one the service's computer shows.
bool confirmCertificate(const QString &peer, const QSslCertificate &certificate)
{
    const QString text =
        AttachedWindow::tr("The service at %1 shows a certificate that no authority vouches for:\n"
                           "%2\nSHA-256 %3\n\nAccept it for this service from now on?")
            .arg(peer, certificate.subjectDisplayName(), QString::fromLatin1(CertificatePins::digest(certificate)));
    return MessageBox::question(nullptr, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace

std::unique_ptr<MainWindow> AttachedWindow::open(const ServiceAddress &address)
{
    auto core = std::make_unique<RemoteCore>(address, RemoteCore::defaultIniFile());
    core->setCertificateCheck(RemoteCore::defaultPinsFile(), confirmCertificate);
    return std::make_unique<MainWindow>(std::move(core));
}
