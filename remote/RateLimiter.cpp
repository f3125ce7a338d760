#include "RateLimiter.h"

bool RateLimiter::take(qint64 nowMs)
{
    if (m_lastMs >= 0 && nowMs > m_lastMs)
        m_tokens = qMin(double(m_burst), m_tokens + (nowMs - m_lastMs) * m_rate / 1000.0);
    if (m_lastMs < 0 || nowMs > m_lastMs)
        m_lastMs = nowMs;
    if (m_tokens < 1)
        return false;
    m_tokens -= 1;
    return true;
}
