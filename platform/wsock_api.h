#pragma once
// A WinSock-shaped facade over POSIX non-blocking sockets.
//
// Sockets are handles (never reused, never 0) into a table of descriptors. Readiness is
// delivered the WinSock way: WsAsyncSelect names a window and a message, and the loop
// posts that message with wParam = socket and lParam = event | error << 16, re-enabling
// each event only as WinSock does:
//
//   FD_READ     once, then again only after the next WsRecv / WsRecvFrom
//   FD_WRITE    once when connected (or at registration), then only after a send would block
//   FD_ACCEPT   once, then again only after the next WsAccept
//   FD_CONNECT  once when a connection attempt ends (its error in the high word)
//   FD_CLOSE    once, when the peer has closed and every byte before it has been read
//
// Every call stores its error for WsGetLastError (a WinSock number, see wsock_errors.h).
// Host lookups run on a helper thread through the replaceable HostResolver and post their
// answer to the window (wParam = request handle, lParam = buffer length | error << 16).
// Single-threaded like the loop: call everything from the loop's thread.
#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/host_resolver.h"
#include "platform/win_types.h"

namespace tessival::platform {

class MessageWindow;

using TSocket = std::uintptr_t;
constexpr TSocket INVALID_SOCKET = ~TSocket{0};
constexpr int SOCKET_ERROR = -1;
using HANDLE = std::uintptr_t;  // a lookup request; 0 = none

constexpr long FD_READ = 0x01;
constexpr long FD_WRITE = 0x02;
constexpr long FD_OOB = 0x04;
constexpr long FD_ACCEPT = 0x08;
constexpr long FD_CONNECT = 0x10;
constexpr long FD_CLOSE = 0x20;

constexpr LPARAM WSAMakeSelectReply(long event, int error) {
  return static_cast<LPARAM>((static_cast<std::uint32_t>(error & 0xFFFF) << 16) |
                             static_cast<std::uint32_t>(event & 0xFFFF));
}
constexpr long WSAGetSelectEvent(LPARAM lparam) { return static_cast<long>(lparam & 0xFFFF); }
constexpr int WSAGetSelectError(LPARAM lparam) {
  return static_cast<int>((static_cast<std::uint64_t>(lparam) >> 16) & 0xFFFF);
}

// Library start-up and clean-up, counted: the last clean-up forgets every socket and
// waits for the helper threads of lookups still running.
int WsStartup();
void WsCleanup();
int WsStartupCount();

int WsGetLastError();
void WsSetLastError(int error);

TSocket WsSocket(int type, int protocol);  // family AF_INET; non-blocking
int WsCloseSocket(TSocket s);
int WsConnect(TSocket s, const sockaddr_in& to);  // SOCKET_ERROR + 10035 while pending
int WsBind(TSocket s, const sockaddr_in& local);
int WsListen(TSocket s, int backlog);
TSocket WsAccept(TSocket s, sockaddr_in* from);
int WsSend(TSocket s, const void* data, int length, int flags);
// Sends several blocks in order with one call (at most kMaxSendParts of them).
constexpr std::size_t kMaxSendParts = 64;
int WsSendV(TSocket s, std::span<const std::span<const std::byte>> parts, int flags);
int WsSendTo(TSocket s, const void* data, int length, int flags, const sockaddr_in& to);
int WsRecv(TSocket s, void* buffer, int length, int flags);
int WsRecvFrom(TSocket s, void* buffer, int length, int flags, sockaddr_in* from);
int WsIoctlFionread(TSocket s, unsigned long* count);
int WsShutdown(TSocket s, int how);
int WsSetSockOpt(TSocket s, int level, int name, const void* value, int length);
int WsGetSockName(TSocket s, sockaddr_in* name);
int WsGetPeerName(TSocket s, sockaddr_in* name);
int WsAsyncSelect(TSocket s, MessageWindow* window, UINT message, long events);
// The descriptor behind a handle (-1 if none): for diagnostics and tests.
int WsDescriptor(TSocket s);
// Adopts a descriptor made elsewhere (tests); it becomes non-blocking.
TSocket WsAdoptDescriptor(int fd, int type);

// Asynchronous lookups: the answer is written to *result just before the message is
// posted; a cancelled request writes nothing and posts nothing.
HANDLE WsAsyncGetHostByName(MessageWindow* window, UINT message, const std::string& name,
                            HostEntry* result);
HANDLE WsAsyncGetHostByAddr(MessageWindow* window, UINT message, std::uint32_t address,
                            HostEntry* result);
int WsCancelAsyncRequest(HANDLE request);

// Blocking lookups (gethostbyname, getservbyname, getprotobyname); 0 or a WinSock error.
int WsGetHostByName(const std::string& name, HostEntry* result);
int WsGetServByName(const std::string& service, const std::string& protocol, int* port);
int WsGetProtoByName(const std::string& name, int* protocol);

}  // namespace tessival::platform
