// The event journal: records as they arrive in answers to "G-0", the text
// file made of them, and the file's name from an identification answer.
//
// Input: byte 0 marks slots that stay empty (bit i for slot i, i < 8); the
// rest is cut into 44-byte records, one per slot, the last one possibly
// short. The whole input also serves as an identification answer.

#include "fuzz/Require.h"
#include "link/DeviceIdentity.h"
#include "link/Frame.h"
#include "link/JournalFile.h"
#include "link/JournalRecord.h"

#include <QDateTime>
#include <QFileInfo>

#include <cstdint>

namespace {

void checkFileName(const QString &name)
{
    require(name.endsWith(QLatin1String(".log")), "file name ends in .log");
    require(!name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')),
            "file name holds a separator");
    require(QFileInfo(name).fileName() == name, "file name is not one name");
    for (const QChar c : name)
        require(c.unicode() >= 0x20 && c.unicode() != 0x7F, "file name holds a control character");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(data), int(size));
    const quint8 missing = data[0];

    JournalFile::Slots entries;
    for (int offset = 1, slot = 0; offset < input.size(); offset += JournalRecord::Size, ++slot) {
        const QByteArray payload = input.mid(offset, JournalRecord::Size);
        const JournalRecord r = JournalRecord::fromPayload(payload);
        require(r.toPayload().size() == JournalRecord::Size, "record size");
        JournalFile::eventText(r.eventCode());
        JournalFile::causeText(r.causeCode());
        JournalFile::channelsText(r.channels);
        JournalFile::dateTimeText(r);
        if (slot < 8 && (missing & (1 << slot)))
            entries.emplace_back();
        else
            entries.emplace_back(r);
    }

    // Every slot comes exactly once in the file's order.
    const QVector<int> order = JournalFile::slotOrder(entries);
    require(order.size() == int(entries.size()), "slot order length");
    std::vector<bool> seen(entries.size(), false);
    for (int i : order) {
        require(i >= 0 && i < int(entries.size()) && !seen[size_t(i)], "slot order");
        seen[size_t(i)] = true;
    }
    const QString text = JournalFile::text(entries);
    require(text.startsWith(JournalFile::header()), "journal text starts with its header");

    const QString identification = DeviceIdentity::identificationText(input);
    const QString item = DeviceIdentity::displayItem(QStringLiteral("COM3"), identification);
    const QDateTime utc(QDate(2026, 1, 7), QTime(15, 45, 0), Qt::UTC);
    checkFileName(JournalFile::fileName(utc, item));
    checkFileName(JournalFile::fileName(utc, QString::fromLatin1(input)));
    return 0;
}
