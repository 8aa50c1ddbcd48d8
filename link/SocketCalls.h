// The few socket calls that differ between the BSD sockets of Linux and
// Winsock: the network driver is written once above them.
#pragma once

#include "NetworkDriver.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#endif

#include <cstddef>
#include <cstdint>

namespace vantor::sockets {

#ifdef _WIN32
static_assert(sizeof(SocketHandle) == sizeof(SOCKET));
inline const SocketHandle kNoSocket = INVALID_SOCKET;
#else
inline constexpr SocketHandle kNoSocket = -1;
#endif

// Readiness asked of wait(): both systems' poll bits.
inline constexpr short kReadable = POLLIN;
inline constexpr short kWritable = POLLOUT;

// Winsock must be started once in the process before any other call; false
// when it cannot be. Nothing to do elsewhere.
bool start();

// The last failed call's error number: errno, or WSAGetLastError().
int lastError();

// A stream socket for the address, not blocking and not inherited by child
// processes; kNoSocket on failure (see lastError()).
SocketHandle openStream(const addrinfo& address);
void close(SocketHandle socket);

// Starts connecting: 0 when connected at once, else the error, which
// connectGoesOn() tells from a failure.
int startConnect(SocketHandle socket, const addrinfo& address);
bool connectGoesOn(int error);
// The outcome of a connection that has become ready: 0 or its error.
int connectOutcome(SocketHandle socket);
// A failed connection's error as a status code.
int32_t connectFailure(int error);
// getaddrinfo()'s failure as a status code.
int32_t lookupFailure(int result);

// Small writes leave at once instead of waiting for more.
void sendAtOnce(SocketHandle socket);

// As send() and recv() without blocking: the count, 0 for a closed
// connection (recv), or -1 with lastError() set.
long sendSome(SocketHandle socket, const uint8_t* bytes, size_t length);
long receiveSome(SocketHandle socket, uint8_t* buffer, size_t size);
// The call found the socket not ready (full, or nothing received).
bool wouldBlock(int error);
bool interrupted(int error);

// Waits up to ms (-1: without limit) for the socket to be ready for `events`:
// non-zero when ready or failed, 0 at the time-out or a signal, -1 when the
// wait itself failed.
int wait(SocketHandle socket, short events, int ms);

}  // namespace vantor::sockets
