#include "SocketCalls.h"

#include "SerialPort.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#endif

#include <algorithm>

namespace vantor::sockets {

#ifdef _WIN32

bool start()
{
    // Started once and never cleaned up: the process's end does that.
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

int lastError()
{
    return WSAGetLastError();
}

SocketHandle openStream(const addrinfo& address)
{
    SOCKET s = socket(address.ai_family, address.ai_socktype, address.ai_protocol);
    if (s == INVALID_SOCKET)
        return kNoSocket;
    u_long nonBlocking = 1;
    if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
        const int error = WSAGetLastError();
        closesocket(s);
        WSASetLastError(error);
        return kNoSocket;
    }
    SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    return s;
}

void close(SocketHandle socket)
{
    closesocket(socket);
}

int startConnect(SocketHandle socket, const addrinfo& address)
{
    return connect(socket, address.ai_addr, static_cast<int>(address.ai_addrlen)) == 0 ? 0 : WSAGetLastError();
}

bool connectGoesOn(int error)
{
    return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS || error == WSAEINTR;
}

int connectOutcome(SocketHandle socket)
{
    int error = 0;
    int length = sizeof error;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0)
        return WSAGetLastError();
    return error;
}

int32_t connectFailure(int error)
{
    switch (error) {
    case WSAECONNREFUSED: return kSerialConnectRefused;
    case WSAENETUNREACH:
    case WSAEHOSTUNREACH:
    case WSAENETDOWN:
    case WSAEHOSTDOWN: return kSerialHostUnreachable;
    case WSAETIMEDOUT: return kSerialConnectTimeout;
    case WSAENOBUFS: return kSerialNoMemory;
    default: return kSerialOther;
    }
}

int32_t lookupFailure(int result)
{
    return result == EAI_MEMORY ? kSerialNoMemory : result == WSANOTINITIALISED ? kSerialOther : kSerialHostUnknown;
}

void sendAtOnce(SocketHandle socket)
{
    const BOOL on = TRUE;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

long sendSome(SocketHandle socket, const uint8_t* bytes, size_t length)
{
    // Winsock raises no signal for a closed connection: no flag needed.
    const int chunk = static_cast<int>(std::min<size_t>(length, INT32_MAX));
    return send(socket, reinterpret_cast<const char*>(bytes), chunk, 0);
}

long receiveSome(SocketHandle socket, uint8_t* buffer, size_t size)
{
    const int chunk = static_cast<int>(std::min<size_t>(size, INT32_MAX));
    return recv(socket, reinterpret_cast<char*>(buffer), chunk, 0);
}

bool wouldBlock(int error)
{
    return error == WSAEWOULDBLOCK;
}

bool interrupted(int error)
{
    return error == WSAEINTR;
}

int wait(SocketHandle socket, short events, int ms)
{
    // select() rather than WSAPoll(), which on Windows before 10 2004 never
    // reports a refused connection: a wait for it would run out instead.
    fd_set readable, writable, failed;
    FD_ZERO(&readable);
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    if (events & kReadable)
        FD_SET(socket, &readable);
    if (events & kWritable)
        FD_SET(socket, &writable);
    // A connection that failed shows there.
    FD_SET(socket, &failed);
    timeval limit{ms / 1000, (ms % 1000) * 1000};
    const int r = select(0, &readable, &writable, &failed, ms < 0 ? nullptr : &limit);
    if (r == SOCKET_ERROR)
        return WSAGetLastError() == WSAEINTR ? 0 : -1;
    return r;
}

#else

bool start()
{
    return true;
}

int lastError()
{
    return errno;
}

SocketHandle openStream(const addrinfo& address)
{
    return socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
}

void close(SocketHandle socket)
{
    ::close(socket);
}

int startConnect(SocketHandle socket, const addrinfo& address)
{
    return connect(socket, address.ai_addr, address.ai_addrlen) == 0 ? 0 : errno;
}

bool connectGoesOn(int error)
{
    return error == EINPROGRESS || error == EINTR;
}

int connectOutcome(SocketHandle socket)
{
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return errno;
    return error;
}

int32_t connectFailure(int error)
{
    switch (error) {
    case ECONNREFUSED: return kSerialConnectRefused;
    case ENETUNREACH:
    case EHOSTUNREACH:
    case ENETDOWN:
    case EHOSTDOWN: return kSerialHostUnreachable;
    case ETIMEDOUT: return kSerialConnectTimeout;
    default: return mapSystemError(error);
    }
}

int32_t lookupFailure(int result)
{
    return result == EAI_MEMORY ? kSerialNoMemory : result == EAI_SYSTEM ? mapSystemError(errno) : kSerialHostUnknown;
}

void sendAtOnce(SocketHandle socket)
{
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

long sendSome(SocketHandle socket, const uint8_t* bytes, size_t length)
{
    // A closed connection must fail the call, not raise SIGPIPE.
    return send(socket, bytes, length, MSG_NOSIGNAL | MSG_DONTWAIT);
}

long receiveSome(SocketHandle socket, uint8_t* buffer, size_t size)
{
    return recv(socket, buffer, size, 0);
}

bool wouldBlock(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK;
}

bool interrupted(int error)
{
    return error == EINTR;
}

int wait(SocketHandle socket, short events, int ms)
{
    pollfd p{socket, events, 0};
    const int r = poll(&p, 1, ms);
    if (r < 0)
        return errno == EINTR ? 0 : -1;
    return r > 0 ? p.revents : 0;
}

#endif

}  // namespace vantor::sockets
