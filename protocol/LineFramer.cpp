#include "LineFramer.h"

QList<QByteArray> LineFramer::feed(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    if (m_overflowed)
        return lines;
    int start = 0;
    while (start < bytes.size()) {
        const int end = bytes.indexOf('\n', start);
        const int stop = end < 0 ? bytes.size() : end;
        if (m_pending.size() + (stop - start) > m_maxLine + 1) {  // + 1 for a "\r"
            m_overflowed = true;
            m_pending.clear();
            return lines;
        }
        m_pending.append(bytes.constData() + start, stop - start);
        if (end < 0)
            break;
        if (m_pending.endsWith('\r'))
            m_pending.chop(1);
        if (m_pending.size() > m_maxLine) {
            m_overflowed = true;
            m_pending.clear();
            return lines;
        }
        if (!m_pending.isEmpty())
            lines.append(m_pending);
        m_pending.clear();
        start = end + 1;
    }
    return lines;
}
