#include "BoundedHttpServer.h"

#include "BoundedStream.h"
#include "BoundedTaskQueue.h"

BoundedHttpServer::BoundedHttpServer(const Limits &limits) : m_limits(limits)
{
    new_task_queue = [limits] { return new BoundedTaskQueue(limits.workers, limits.waiting); };
    // Second bounds under the stream's own: socket timeouts and no body.
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limits.deadline).count();
    set_read_timeout(std::max<time_t>(1, seconds));
    set_write_timeout(std::max<time_t>(1, seconds));
    set_keep_alive_max_count(1);
    set_payload_max_length(0);
}

void BoundedHttpServer::widenBacklog()
{
    // Listening again on a listening socket only changes its backlog.
    ::listen(svr_sock_, SOMAXCONN);
}

bool BoundedHttpServer::process_and_close_socket(socket_t sock)
{
    const BoundedTaskQueue::Task task = BoundedTaskQueue::current();
    if (task.refused || svr_sock_ == INVALID_SOCKET) {
        BoundedStream::refuse(sock);
        return false;
    }
    BoundedStream stream(sock, task.acceptedAt + m_limits.deadline, m_limits.requestBytes);
    bool closed = true;
    const bool ok = process_request(stream, true, closed, nullptr);
    BoundedStream::close(sock);
    return ok;
}
