#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnwick::test {

/// A socket of the system (a descriptor or a handle); kNoSocket when there is none.
using Socket = intptr_t;
inline constexpr Socket kNoSocket = -1;

/// What a wait on a socket waits for.
enum class Readiness { kReadable, kWritable };

/// A listening TCP socket on a free port of 127.0.0.1, whose number goes to `port`; aborts the
/// test program when there is none.
Socket ListenOnLoopback(int& port);
/// The next connection waiting on `listener`, non-blocking; kNoSocket when none could be taken.
Socket AcceptConnection(Socket listener);
/// Two connected sockets: what is sent on the second becomes readable on the first. Aborts the
/// test program when they cannot be made.
void MakeSignalPair(Socket& readEnd, Socket& writeEnd);
/// Waits until `socket` is ready for `readiness`, or `stop` becomes readable, or the timeout
/// (-1: none) passes. False on stop, error or hang-up; true when ready or when the timeout passed.
bool WaitReady(Socket socket, Readiness readiness, Socket stop, int timeoutMilliseconds = -1);
/// Sends what the system takes at once: how many bytes, 0 when it would block, -1 on error.
long SendSome(Socket socket, const char* bytes, size_t count);
/// Receives what is there: how many bytes, 0 at the peer's end, -1 on error; -2 when it would block.
long ReceiveSome(Socket socket, char* buffer, size_t size);
/// Closes the socket.
void CloseSocket(Socket socket);

}  // namespace tarnwick::test
