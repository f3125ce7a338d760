#include "ServiceSide.h"

QString ClientIdentity::describe() const
{
    return account.isEmpty() ? address : account + QStringLiteral(" at ") + address;
}
