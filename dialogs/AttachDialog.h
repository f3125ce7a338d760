#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class AttachDialog;
}

// Asks for the address of a service to attach a window to. An address that
// names no host and port is said so in the dialog, which stays open.
class AttachDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AttachDialog(QWidget *parent = nullptr);
    ~AttachDialog() override;

    // Asks, and opens a window of its own attached to the address accepted:
    // the window that asks keeps showing what it shows.
    static void openWindow(QWidget *parent);

    // What was accepted: empty for the service of the work folder.
    QString address() const;

    void accept() override;

private:
    std::unique_ptr<Ui::AttachDialog> ui;
};
