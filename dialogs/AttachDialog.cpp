#include "AttachDialog.h"
#include "ui_AttachDialog.h"

#include "MessageBox.h"
#include "remote/ServiceAddress.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

AttachDialog::AttachDialog(QWidget *parent) : QDialog(parent), ui(new Ui::AttachDialog)
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &AttachDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &AttachDialog::reject);
}

AttachDialog::~AttachDialog() = default;

void AttachDialog::openWindow(QWidget *parent)
{
    AttachDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QStringList arguments{QStringLiteral("--attach")};
    if (!dialog.address().isEmpty())
        arguments << dialog.address();
    if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments))
        MessageBox::warning(parent, tr("The attached window cannot be started."));
}

QString AttachDialog::address() const
{
    return ui->lineAddress->text().trimmed();
}

void AttachDialog::accept()
{
    ServiceAddress parsed;
    QString error;
    if (!ServiceAddress::parse(address(), QDir::currentPath(), &parsed, &error)) {
        ui->labelError->setText(error);
        return;
    }
    QDialog::accept();
}
