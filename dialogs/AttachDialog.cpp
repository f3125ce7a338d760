#include "AttachDialog.h"
#include "ui_AttachDialog.h"

#include "remote/ServiceAddress.h"

#include <QDir>

AttachDialog::AttachDialog(QWidget *parent) : QDialog(parent), ui(new Ui::AttachDialog)
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &AttachDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &AttachDialog::reject);
}

AttachDialog::~AttachDialog() = default;

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
