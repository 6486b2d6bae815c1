#include "support/loopback_socket.h"

#include <winsock2.h>

#include <cstdio>
#include <cstdlib>

namespace tarnwick::test {
namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "%s: error %d\n", what, WSAGetLastError());
  std::abort();
}

SOCKET Handle(Socket socket) {
  return static_cast<SOCKET>(socket);
}

void StartSockets() {
  static const bool started = [] {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) Fail("WSAStartup");
    return true;
  }();
  (void)started;
}

sockaddr_in Loopback(u_short port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

}  // namespace

Socket ListenOnLoopback(int& port) {
  StartSockets();
  const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) Fail("socket");
  // Another program may not take the port over while this one listens.
  BOOL exclusive = TRUE;
  setsockopt(listener, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
  sockaddr_in address = Loopback(0);
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) Fail("bind");
  if (listen(listener, SOMAXCONN) != 0) Fail("listen");
  int length = sizeof address;
  if (getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) Fail("getsockname");
  port = ntohs(address.sin_port);
  return static_cast<Socket>(listener);
}

Socket AcceptConnection(Socket listener) {
  const SOCKET connection = accept(Handle(listener), nullptr, nullptr);
  if (connection == INVALID_SOCKET) return kNoSocket;
  u_long nonBlocking = 1;
  ioctlsocket(connection, FIONBIO, &nonBlocking);
  return static_cast<Socket>(connection);
}

void MakeSignalPair(Socket& readEnd, Socket& writeEnd) {
  int port = 0;
  const Socket listener = ListenOnLoopback(port);
  const SOCKET writer = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = Loopback(static_cast<u_short>(port));
  if (writer == INVALID_SOCKET || connect(writer, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    Fail("connect");
  }
  const SOCKET reader = accept(Handle(listener), nullptr, nullptr);
  if (reader == INVALID_SOCKET) Fail("accept");
  closesocket(Handle(listener));
  readEnd = static_cast<Socket>(reader);
  writeEnd = static_cast<Socket>(writer);
}

bool WaitReady(Socket socket, Readiness readiness, Socket stop, int timeoutMilliseconds) {
  const SHORT events = readiness == Readiness::kReadable ? POLLRDNORM : POLLWRNORM;
  WSAPOLLFD fds[2] = {{Handle(socket), events, 0}, {Handle(stop), POLLRDNORM, 0}};
  const int ready = WSAPoll(fds, 2, timeoutMilliseconds);
  if (ready < 0 || (fds[1].revents & (POLLRDNORM | POLLHUP)) != 0) return false;
  if (ready == 0) return true;  // the timeout was the point of the wait
  return (fds[0].revents & events) != 0;
}

long SendSome(Socket socket, const char* bytes, size_t count) {
  const int sent = send(Handle(socket), bytes, static_cast<int>(count), 0);
  if (sent == SOCKET_ERROR) return WSAGetLastError() == WSAEWOULDBLOCK ? 0 : -1;
  return sent;
}

long ReceiveSome(Socket socket, char* buffer, size_t size) {
  const int got = recv(Handle(socket), buffer, static_cast<int>(size), 0);
  if (got == SOCKET_ERROR) return WSAGetLastError() == WSAEWOULDBLOCK ? -2 : -1;
  return got;
}

void CloseSocket(Socket socket) {
  closesocket(Handle(socket));
}

}  // namespace tarnwick::test
