#include "JournalDownload.h"

JournalDownload::JournalDownload(DeviceExchange &io, QObject *parent) : QObject(parent), m_io(io) {}

void JournalDownload::download(const QString &folder, const QString &displayItem)
{
    Q_UNUSED(folder)
    Q_UNUSED(displayItem)
}

void JournalDownload::clear() {}
