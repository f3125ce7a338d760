#include "authentication.h"

authentication::authentication(QWidget *parent) : QDialog(parent)
{
}

int authentication::requestAccess()
{
    return 0;
}
