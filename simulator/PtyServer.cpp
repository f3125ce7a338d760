#include "PtyServer.h"

#include "SimText.h"

#include "link/LinkClock.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using SimText::fail;

namespace {

// Answers nobody reads are dropped beyond this, oldest first.
constexpr int MaxUnread = 64 * 1024;
constexpr int PollStepMs = 50;

QString lastError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

// Everything waiting on a non-blocking descriptor.
QByteArray readAvailable(int fd)
{
    QByteArray data;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            return data;
        data.append(buf, int(n));
    }
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

bool setNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace

PtyServer::PtyServer(ProtocolEngine &engine, LinkClock &clock) : m_engine(engine), m_clock(clock)
{
    // Made first, so that a stop requested before run() is not lost.
    if (::pipe(m_wake) == 0) {
        setNonBlocking(m_wake[0]);
        setNonBlocking(m_wake[1]);
    }
}

PtyServer::~PtyServer()
{
    closeAll();
}

bool PtyServer::open(QString *error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return fail(error, lastError("posix_openpt"));
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return fail(error, lastError("grantpt/unlockpt"));
    const char *name = ::ptsname(m_master);
    if (!name)
        return fail(error, lastError("ptsname"));
    m_terminalPath = QString::fromLocal8Bit(name);

    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0)
        return fail(error, lastError("open terminal"));
    // Binary frames: no echo, no line editing, no character translation.
    termios tio;
    if (::tcgetattr(m_slave, &tio) != 0)
        return fail(error, lastError("tcgetattr"));
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B115200);
    ::cfsetospeed(&tio, B115200);
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0)
        return fail(error, lastError("tcsetattr"));

    if (m_wake[0] < 0)
        return fail(error, QStringLiteral("no pipe to wake the server"));
    if (!setNonBlocking(m_master))
        return fail(error, lastError("fcntl"));
    return true;
}

bool PtyServer::createLink(const QString &path, QString *error)
{
    const QByteArray target = QFile::encodeName(m_terminalPath);
    const QByteArray link = QFile::encodeName(path);
    struct stat st;
    if (::lstat(link.constData(), &st) == 0) {
        if (!S_ISLNK(st.st_mode))
            return fail(error, QStringLiteral("%1 exists and is not a symbolic link").arg(path));
        ::unlink(link.constData());
    }
    if (::symlink(target.constData(), link.constData()) != 0)
        return fail(error, lastError("symlink"));
    m_linkPath = path;
    return true;
}

bool PtyServer::openControl(const QString &path, std::function<void(const QString &)> handler,
                            QString *error)
{
    const QByteArray fifo = QFile::encodeName(path);
    struct stat st;
    if (::lstat(fifo.constData(), &st) == 0) {
        if (!S_ISFIFO(st.st_mode))
            return fail(error, QStringLiteral("%1 exists and is not a FIFO").arg(path));
    } else if (::mkfifo(fifo.constData(), 0600) != 0) {
        return fail(error, lastError("mkfifo"));
    }
    m_controlPath = path;
    m_control = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    // Our own writer keeps the FIFO from reporting end of file whenever the
    // last outside writer closes it.
    m_controlKeepAlive = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
    if (m_control < 0 || m_controlKeepAlive < 0)
        return fail(error, lastError("open FIFO"));
    m_controlHandler = std::move(handler);
    return true;
}

void PtyServer::requestStop()
{
    if (m_wake[1] >= 0) {
        const char c = 's';
        [[maybe_unused]] const ssize_t n = ::write(m_wake[1], &c, 1);
    }
}

int PtyServer::pollTimeoutMs() const
{
    if (!m_out.isEmpty())
        return PollStepMs;
    if (m_inFlight.isEmpty())
        return PollStepMs;
    const qint64 until = m_inFlight.nextDueMs() - m_clock.monotonicMs();
    return int(std::clamp<qint64>(until, 0, PollStepMs));
}

int PtyServer::run()
{
    for (;;) {
        pollfd fds[3] = {
            {m_wake[0], POLLIN, 0},
            {m_master, short(POLLIN | (m_out.isEmpty() ? 0 : POLLOUT)), 0},
            {m_control, POLLIN, 0},
        };
        const int count = m_control >= 0 ? 3 : 2;
        const int ready = ::poll(fds, nfds_t(count), pollTimeoutMs());
        if (ready < 0 && errno != EINTR)
            break;
        if (ready > 0 && (fds[0].revents & POLLIN))
            break;
        // Commands first: a command written before a request applies to it.
        if (ready > 0 && count == 3 && (fds[2].revents & POLLIN))
            readControl();
        if (ready > 0 && (fds[1].revents & POLLIN))
            readRequests();
        deliverDue();
        writeOut();
    }
    return 0;
}

void PtyServer::readRequests()
{
    const QByteArray bytes = readAvailable(m_master);
    if (!bytes.isEmpty())
        m_inFlight.add(m_engine.feed(bytes));
}

void PtyServer::deliverDue()
{
    m_out.append(m_inFlight.takeDue(m_clock.monotonicMs()));
    if (m_out.size() > MaxUnread)
        m_out.remove(0, m_out.size() - MaxUnread);
}

void PtyServer::writeOut()
{
    while (!m_out.isEmpty()) {
        const ssize_t n = ::write(m_master, m_out.constData(), size_t(m_out.size()));
        if (n <= 0)
            return;  // the terminal is full; try again when it drains
        m_out.remove(0, int(n));
    }
}

void PtyServer::readControl()
{
    m_controlBuffer.append(readAvailable(m_control));
    int eol;
    while ((eol = m_controlBuffer.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(m_controlBuffer.left(eol)).trimmed();
        m_controlBuffer.remove(0, eol + 1);
        if (!line.isEmpty() && m_controlHandler)
            m_controlHandler(line);
    }
    // A writer that never ends its line must not grow the buffer forever.
    if (m_controlBuffer.size() > 4096)
        m_controlBuffer.clear();
}

void PtyServer::closeAll()
{
    if (!m_linkPath.isEmpty()) {
        // Only our own link: another simulator may have taken the path since.
        const QByteArray link = QFile::encodeName(m_linkPath);
        char target[4096];
        const ssize_t n = ::readlink(link.constData(), target, sizeof target - 1);
        if (n > 0 && QFile::decodeName(QByteArray(target, int(n))) == m_terminalPath)
            ::unlink(link.constData());
        m_linkPath.clear();
    }
    if (!m_controlPath.isEmpty()) {
        ::unlink(QFile::encodeName(m_controlPath).constData());
        m_controlPath.clear();
    }
    closeFd(m_control);
    closeFd(m_controlKeepAlive);
    closeFd(m_slave);
    closeFd(m_master);
    closeFd(m_wake[0]);
    closeFd(m_wake[1]);
}
