#include "support/loopback_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace tarnwick::test {
namespace {

[[noreturn]] void Fail(const char* what) {
  std::perror(what);
  std::abort();
}

}  // namespace

Socket ListenOnLoopback(int& port) {
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener < 0) Fail("socket");
  int yes = 1;
  setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) Fail("bind");
  if (listen(listener, SOMAXCONN) != 0) Fail("listen");
  socklen_t length = sizeof address;
  if (getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) Fail("getsockname");
  port = ntohs(address.sin_port);
  return listener;
}

Socket AcceptConnection(Socket listener) {
  const int connection = accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
  return connection < 0 ? kNoSocket : connection;
}

void MakeSignalPair(Socket& readEnd, Socket& writeEnd) {
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) Fail("socketpair");
  readEnd = ends[0];
  writeEnd = ends[1];
}

bool WaitReady(Socket socket, Readiness readiness, Socket stop, int timeoutMilliseconds) {
  const short events = readiness == Readiness::kReadable ? POLLIN : POLLOUT;
  for (;;) {
    pollfd fds[2] = {{static_cast<int>(socket), events, 0}, {static_cast<int>(stop), POLLIN, 0}};
    const int ready = poll(fds, 2, timeoutMilliseconds);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || (fds[1].revents & POLLIN) != 0) return false;
    if (ready == 0) return true;  // the timeout was the point of the wait
    return (fds[0].revents & events) != 0;
  }
}

long SendSome(Socket socket, const char* bytes, size_t count) {
  const ssize_t sent = send(static_cast<int>(socket), bytes, count, MSG_NOSIGNAL);
  if (sent < 0 && (errno == EINTR || errno == EAGAIN)) return 0;
  return sent;
}

long ReceiveSome(Socket socket, char* buffer, size_t size) {
  const ssize_t got = recv(static_cast<int>(socket), buffer, size, 0);
  if (got < 0 && (errno == EINTR || errno == EAGAIN)) return -2;
  return got;
}

void CloseSocket(Socket socket) {
  close(static_cast<int>(socket));
}

}  // namespace tarnwick::test
