#pragma once

#include "MainWindow.h"
#include "remote/ServiceAddress.h"

#include <QCoreApplication>

#include <memory>

// The main window of a service's instrument, as `--attach` and a window
// that finds its folder's service running open it: the window's own places
// and the certificates it accepted are kept in the user's configuration
// folder, and a self-signed certificate seen for the first time is shown to
// the operator to confirm.
class AttachedWindow
{
    Q_DECLARE_TR_FUNCTIONS(AttachedWindow)

public:
    // Attaching has begun when it returns; the window is not shown yet.
    static std::unique_ptr<MainWindow> open(const ServiceAddress &address);
};
