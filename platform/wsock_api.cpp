#include "platform/wsock_api.h"

#include <fcntl.h>
#include <netdb.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/uio.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "platform/message_loop.h"
#include "platform/message_window.h"
#include "platform/unique_fd.h"
#include "platform/wsock_errors.h"

namespace tessival::platform {
namespace {

thread_local int last_error = 0;

int Fail(int error) {
  last_error = error;
  return SOCKET_ERROR;
}
int FailErrno() { return Fail(WinSockErrorFromErrno(errno)); }

// What WsAsyncSelect asked for and which of those events may be posted now.
struct Selection {
  MessageWindow* window = nullptr;
  UINT message = 0;
  long events = 0;
  bool read_enabled = true;
  bool write_enabled = true;
  bool accept_enabled = true;
  bool close_posted = false;
};

struct SocketEntry {
  UniqueFd fd;
  int type = SOCK_STREAM;
  bool listening = false;
  bool connect_pending = false;
  int connect_error = 0;  // a refusal the stack reported at once, delivered as FD_CONNECT
  Selection select;
  MessageLoop* watched_on = nullptr;
};

struct LookupRequest {
  HANDLE handle = 0;
  MessageLoop* loop = nullptr;  // kept apart: the window may be gone once cancelled
  MessageWindow* window = nullptr;
  UINT message = 0;
  HostEntry* result = nullptr;
  bool cancelled = false;
  UniqueFd done_event;
  std::mutex mutex;
  HostLookupResult answer;
  std::thread worker;
};

struct Library {
  int startups = 0;
  TSocket next_socket = 1;
  HANDLE next_request = 1;
  std::unordered_map<TSocket, SocketEntry> sockets;
  std::unordered_map<HANDLE, std::shared_ptr<LookupRequest>> lookups;
};

Library& Lib() {
  static Library library;
  return library;
}

SocketEntry* Find(TSocket s) {
  auto found = Lib().sockets.find(s);
  return found == Lib().sockets.end() ? nullptr : &found->second;
}

void Post(const SocketEntry& entry, TSocket s, long event, int error) {
  if (entry.select.window == nullptr || (entry.select.events & event) == 0) return;
  entry.select.window->PostMessage(entry.select.message, s, WSAMakeSelectReply(event, error));
}

void UpdateWatch(TSocket s, SocketEntry& entry);

int PendingSocketError(int fd) {
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
  return WinSockErrorFromErrno(error);
}

void OnConnectReadiness(TSocket s, SocketEntry& entry) {
  entry.connect_pending = false;
  const int error = entry.connect_error != 0 ? entry.connect_error : PendingSocketError(entry.fd.get());
  entry.connect_error = 0;
  Post(entry, s, FD_CONNECT, error);
  if (error != 0) {
    // A connection that never was has nothing more to report.
    entry.select.write_enabled = false;
    entry.select.close_posted = true;
  }
}

// Tells data from end of stream without taking anything: the first waiting byte is
// looked at, so FD_CLOSE comes only once every byte before it has been read.
void OnStreamReadable(TSocket s, SocketEntry& entry, std::uint32_t ready) {
  Selection& sel = entry.select;
  char byte;
  const ssize_t peeked = ::recv(entry.fd.get(), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  if (peeked > 0) {
    if ((sel.events & FD_READ) && sel.read_enabled) {
      sel.read_enabled = false;
      Post(entry, s, FD_READ, 0);
    } else if (!(sel.events & FD_READ) && (ready & (EPOLLRDHUP | EPOLLHUP))) {
      sel.close_posted = true;
      Post(entry, s, FD_CLOSE, 0);
    }
    return;
  }
  if (peeked < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
  sel.close_posted = true;
  Post(entry, s, FD_CLOSE, peeked == 0 ? 0 : WinSockErrorFromErrno(errno));
}

void OnReadiness(TSocket s, std::uint32_t ready) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return;
  Selection& sel = entry->select;
  if (entry->connect_pending) {
    if (ready & (EPOLLOUT | EPOLLERR | EPOLLHUP)) OnConnectReadiness(s, *entry);
  } else if (entry->listening) {
    if ((ready & EPOLLIN) && sel.accept_enabled) {
      sel.accept_enabled = false;
      Post(*entry, s, FD_ACCEPT, 0);
    }
  } else {
    const bool readable = ready & (EPOLLIN | EPOLLRDHUP | EPOLLERR | EPOLLHUP);
    if (entry->type != SOCK_STREAM) {
      if ((ready & EPOLLIN) && sel.read_enabled) {
        sel.read_enabled = false;
        Post(*entry, s, FD_READ, 0);
      }
    } else if (readable && !sel.close_posted) {
      OnStreamReadable(s, *entry, ready);
    }
    if ((ready & EPOLLOUT) && sel.write_enabled) {
      sel.write_enabled = false;
      Post(*entry, s, FD_WRITE, 0);
    }
  }
  if ((entry = Find(s)) != nullptr) UpdateWatch(s, *entry);
}

std::uint32_t WantedEpollEvents(const SocketEntry& entry) {
  const Selection& sel = entry.select;
  if (sel.window == nullptr || sel.events == 0) return 0;
  if (entry.connect_pending) return (sel.events & FD_CONNECT) ? std::uint32_t{EPOLLOUT} : 0u;
  if (entry.listening)
    return ((sel.events & FD_ACCEPT) && sel.accept_enabled) ? std::uint32_t{EPOLLIN} : 0u;
  std::uint32_t wanted = 0;
  if (entry.type == SOCK_STREAM) {
    if (!sel.close_posted) {
      if ((sel.events & FD_READ) && sel.read_enabled) wanted |= EPOLLIN | EPOLLRDHUP;
      if (!(sel.events & FD_READ) && (sel.events & FD_CLOSE)) wanted |= EPOLLRDHUP;
    }
  } else if ((sel.events & FD_READ) && sel.read_enabled) {
    wanted |= EPOLLIN;
  }
  if ((sel.events & FD_WRITE) && sel.write_enabled) wanted |= EPOLLOUT;
  return wanted;
}

// A descriptor with nothing to report is taken out of epoll altogether: errors and
// hang-ups are reported even with an empty mask and would wake the loop for ever.
void UpdateWatch(TSocket s, SocketEntry& entry) {
  const std::uint32_t wanted = WantedEpollEvents(entry);
  MessageLoop* loop = entry.select.window ? &entry.select.window->loop() : nullptr;
  if (entry.watched_on != nullptr && (wanted == 0 || entry.watched_on != loop)) {
    entry.watched_on->UnwatchFd(entry.fd.get());
    entry.watched_on = nullptr;
  }
  if (wanted == 0) return;
  if (entry.watched_on == nullptr) {
    loop->WatchFd(entry.fd.get(), wanted, [s](std::uint32_t ready) { OnReadiness(s, ready); });
    entry.watched_on = loop;
  } else {
    loop->ModifyFd(entry.fd.get(), wanted);
  }
}

void ForgetSocket(TSocket s) {
  auto found = Lib().sockets.find(s);
  if (found == Lib().sockets.end()) return;
  if (found->second.watched_on) found->second.watched_on->UnwatchFd(found->second.fd.get());
  Lib().sockets.erase(found);
}

bool SetNonBlocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

TSocket AddSocket(UniqueFd fd, int type) {
  const TSocket handle = Lib().next_socket++;
  SocketEntry& entry = Lib().sockets[handle];
  entry.fd = std::move(fd);
  entry.type = type;
  return handle;
}

int SendFlags(int flags) { return (flags & MSG_OOB) | MSG_NOSIGNAL | MSG_DONTWAIT; }

// A send that would block re-enables FD_WRITE, and so does one that took only part of
// the data: the stack's buffer is full either way, and no would-block may follow.
void AfterSend(TSocket s, SocketEntry& entry, ssize_t sent, std::size_t length) {
  const bool full = sent < 0 ? (errno == EAGAIN || errno == EWOULDBLOCK)
                             : static_cast<std::size_t>(sent) < length;
  if (!full) return;
  entry.select.write_enabled = true;
  UpdateWatch(s, entry);
}

void AfterRecv(TSocket s, SocketEntry& entry) {
  if (entry.select.read_enabled) return;
  entry.select.read_enabled = true;
  UpdateWatch(s, entry);
}

// Lookups ----------------------------------------------------------------------------

void FinishLookup(HANDLE handle) {
  auto found = Lib().lookups.find(handle);
  if (found == Lib().lookups.end()) return;
  const std::shared_ptr<LookupRequest> request = found->second;
  Lib().lookups.erase(found);
  request->loop->UnwatchFd(request->done_event.get());
  request->worker.join();
  if (request->cancelled) return;
  const int error = request->answer.error;
  if (error == 0) *request->result = request->answer.entry;
  request->window->PostMessage(request->message, handle,
                               WSAMakeSelectReply(error == 0 ? 1024 : 0, error));
}

template <typename Lookup>
HANDLE StartLookup(MessageWindow* window, UINT message, HostEntry* result, Lookup lookup) {
  if (window == nullptr || result == nullptr) {
    Fail(WSAEINVAL);
    return 0;
  }
  UniqueFd done(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!done.valid()) {
    FailErrno();
    return 0;
  }
  auto request = std::make_shared<LookupRequest>();
  request->handle = Lib().next_request++;
  request->loop = &window->loop();
  request->window = window;
  request->message = message;
  request->result = result;
  request->done_event = std::move(done);
  const HANDLE handle = request->handle;
  window->loop().WatchFd(request->done_event.get(), EPOLLIN,
                         [handle](std::uint32_t) { FinishLookup(handle); });
  std::shared_ptr<HostResolver> resolver = CurrentHostResolver();
  // The worker shares the request: the eventfd it writes stays open until it is joined.
  request->worker = std::thread([request_ptr = request.get(), resolver, lookup] {
    HostLookupResult answer = lookup(*resolver);
    {
      std::lock_guard lock(request_ptr->mutex);
      request_ptr->answer = std::move(answer);
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(request_ptr->done_event.get(), &one, sizeof one);
  });
  Lib().lookups.emplace(handle, std::move(request));
  return handle;
}

}  // namespace

int WsStartup() { return ++Lib().startups; }

void WsCleanup() {
  Library& lib = Lib();
  if (lib.startups == 0 || --lib.startups > 0) return;
  for (auto& [handle, request] : lib.lookups) {
    request->loop->UnwatchFd(request->done_event.get());
    request->worker.join();
  }
  lib.lookups.clear();
  while (!lib.sockets.empty()) ForgetSocket(lib.sockets.begin()->first);
}

int WsStartupCount() { return Lib().startups; }

int WsGetLastError() { return last_error; }
void WsSetLastError(int error) { last_error = error; }

TSocket WsSocket(int type, int protocol) {
  UniqueFd fd(::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, protocol));
  if (!fd.valid()) {
    FailErrno();
    return INVALID_SOCKET;
  }
  return AddSocket(std::move(fd), type);
}

TSocket WsAdoptDescriptor(int fd, int type) {
  UniqueFd owned(fd);
  if (!SetNonBlocking(fd)) {
    FailErrno();
    return INVALID_SOCKET;
  }
  return AddSocket(std::move(owned), type);
}

int WsDescriptor(TSocket s) {
  const SocketEntry* entry = Find(s);
  return entry ? entry->fd.get() : -1;
}

int WsCloseSocket(TSocket s) {
  if (Find(s) == nullptr) return Fail(WSAENOTSOCK);
  ForgetSocket(s);
  return 0;
}

int WsConnect(TSocket s, const sockaddr_in& to) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return Fail(WSAENOTSOCK);
  const int result = ::connect(entry->fd.get(), reinterpret_cast<const sockaddr*>(&to), sizeof to);
  const int error = result == 0 ? 0 : errno;
  if (result != 0 && error != EINPROGRESS && error != ECONNREFUSED && error != ENETUNREACH &&
      error != EHOSTUNREACH && error != ETIMEDOUT) {
    return FailErrno();
  }
  // As on WinSock, a non-blocking connect always completes through FD_CONNECT, also
  // when the stack knew the answer at once.
  entry->connect_pending = true;
  entry->connect_error = error == EINPROGRESS ? 0 : WinSockErrorFromErrno(error);
  UpdateWatch(s, *entry);
  return Fail(WSAEWOULDBLOCK);
}

int WsBind(TSocket s, const sockaddr_in& local) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return Fail(WSAENOTSOCK);
  if (::bind(entry->fd.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    return FailErrno();
  }
  return 0;
}

int WsListen(TSocket s, int backlog) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return Fail(WSAENOTSOCK);
  if (::listen(entry->fd.get(), backlog) != 0) return FailErrno();
  entry->listening = true;
  UpdateWatch(s, *entry);
  return 0;
}

TSocket WsAccept(TSocket s, sockaddr_in* from) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) {
    Fail(WSAENOTSOCK);
    return INVALID_SOCKET;
  }
  sockaddr_in peer{};
  socklen_t length = sizeof peer;
  UniqueFd fd(::accept4(entry->fd.get(), reinterpret_cast<sockaddr*>(&peer), &length,
                        SOCK_NONBLOCK | SOCK_CLOEXEC));
  const int saved = errno;
  entry->select.accept_enabled = true;
  UpdateWatch(s, *entry);
  if (!fd.valid()) {
    Fail(WinSockErrorFromErrno(saved));
    return INVALID_SOCKET;
  }
  if (from) *from = peer;
  return AddSocket(std::move(fd), SOCK_STREAM);
}

int WsSend(TSocket s, const void* data, int length, int flags) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return Fail(WSAENOTSOCK);
  const ssize_t sent = ::send(entry->fd.get(), data, static_cast<size_t>(length), SendFlags(flags));
  const int saved = errno;
  AfterSend(s, *entry, sent, static_cast<std::size_t>(length));
  if (sent < 0) return Fail(WinSockErrorFromErrno(saved));
  return static_cast<int>(sent);
}

int WsSendV(TSocket s, std::span<const std::span<const std::byte>> parts, int flags) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return Fail(WSAENOTSOCK);
  std::array<iovec, kMaxSendParts> vector{};
  const std::size_t count = std::min(parts.size(), vector.size());
  std::size_t length = 0;
  for (std::size_t i = 0; i < count; ++i) {
    vector[i].iov_base = const_cast<std::byte*>(parts[i].data());
    vector[i].iov_len = parts[i].size();
    length += parts[i].size();
  }
  msghdr message{};
  message.msg_iov = vector.data();
  message.msg_iovlen = count;
  const ssize_t sent = ::sendmsg(entry->fd.get(), &message, SendFlags(flags));
  const int saved = errno;
  AfterSend(s, *entry, sent, length);
  if (sent < 0) return Fail(WinSockErrorFromErrno(saved));
  return static_cast<int>(sent);
}

int WsSendTo(TSocket s, const void* data, int length, int flags, const sockaddr_in& to) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return Fail(WSAENOTSOCK);
  const ssize_t sent = ::sendto(entry->fd.get(), data, static_cast<size_t>(length), SendFlags(flags),
                                reinterpret_cast<const sockaddr*>(&to), sizeof to);
  const int saved = errno;
  AfterSend(s, *entry, sent, static_cast<std::size_t>(length));
  if (sent < 0) return Fail(WinSockErrorFromErrno(saved));
  return static_cast<int>(sent);
}

int WsRecv(TSocket s, void* buffer, int length, int flags) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return Fail(WSAENOTSOCK);
  const ssize_t received = ::recv(entry->fd.get(), buffer, static_cast<size_t>(length),
                                  (flags & ~MSG_WAITALL) | MSG_DONTWAIT);
  const int saved = errno;
  AfterRecv(s, *entry);
  if (received < 0) return Fail(WinSockErrorFromErrno(saved));
  return static_cast<int>(received);
}

int WsRecvFrom(TSocket s, void* buffer, int length, int flags, sockaddr_in* from) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return Fail(WSAENOTSOCK);
  sockaddr_in peer{};
  socklen_t peer_length = sizeof peer;
  const ssize_t received = ::recvfrom(entry->fd.get(), buffer, static_cast<size_t>(length),
                                      flags | MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&peer),
                                      &peer_length);
  const int saved = errno;
  AfterRecv(s, *entry);
  if (received < 0) return Fail(WinSockErrorFromErrno(saved));
  if (from) *from = peer;
  return static_cast<int>(received);
}

int WsIoctlFionread(TSocket s, unsigned long* count) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return Fail(WSAENOTSOCK);
  int waiting = 0;
  if (::ioctl(entry->fd.get(), FIONREAD, &waiting) != 0) return FailErrno();
  *count = static_cast<unsigned long>(waiting);
  return 0;
}

int WsShutdown(TSocket s, int how) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return Fail(WSAENOTSOCK);
  if (::shutdown(entry->fd.get(), how) != 0) return FailErrno();
  return 0;
}

int WsSetSockOpt(TSocket s, int level, int name, const void* value, int length) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return Fail(WSAENOTSOCK);
  if (::setsockopt(entry->fd.get(), level, name, value, static_cast<socklen_t>(length)) != 0) {
    return FailErrno();
  }
  return 0;
}

namespace {

using NameQuery = int (*)(int, sockaddr*, socklen_t*);

int QueryName(TSocket s, sockaddr_in* name, NameQuery query) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return Fail(WSAENOTSOCK);
  socklen_t length = sizeof *name;
  if (query(entry->fd.get(), reinterpret_cast<sockaddr*>(name), &length) != 0) return FailErrno();
  return 0;
}

}  // namespace

int WsGetSockName(TSocket s, sockaddr_in* name) { return QueryName(s, name, ::getsockname); }
int WsGetPeerName(TSocket s, sockaddr_in* name) { return QueryName(s, name, ::getpeername); }

int WsAsyncSelect(TSocket s, MessageWindow* window, UINT message, long events) {
  SocketEntry* entry = Find(s);
  if (entry == nullptr) return Fail(WSAENOTSOCK);
  if (events != 0 && window == nullptr) return Fail(WSAEINVAL);
  const bool close_posted = entry->select.close_posted;
  entry->select = Selection{window, message, events};
  entry->select.close_posted = close_posted;
  UpdateWatch(s, *entry);
  return 0;
}

HANDLE WsAsyncGetHostByName(MessageWindow* window, UINT message, const std::string& name,
                            HostEntry* result) {
  return StartLookup(window, message, result,
                     [name](HostResolver& resolver) { return resolver.LookupName(name); });
}

HANDLE WsAsyncGetHostByAddr(MessageWindow* window, UINT message, std::uint32_t address,
                            HostEntry* result) {
  return StartLookup(window, message, result,
                     [address](HostResolver& resolver) { return resolver.LookupAddress(address); });
}

int WsCancelAsyncRequest(HANDLE request) {
  auto found = Lib().lookups.find(request);
  if (found == Lib().lookups.end() || found->second->cancelled) return Fail(WSAEINVAL);
  found->second->cancelled = true;
  return 0;
}

int WsGetHostByName(const std::string& name, HostEntry* result) {
  HostLookupResult answer = CurrentHostResolver()->LookupName(name);
  if (answer.error == 0 && answer.entry.addresses.empty()) answer.error = WSANO_DATA;
  if (answer.error != 0) {
    Fail(answer.error);
    return answer.error;
  }
  *result = std::move(answer.entry);
  return 0;
}

int WsGetServByName(const std::string& service, const std::string& protocol, int* port) {
  const servent* entry = ::getservbyname(service.c_str(), protocol.c_str());
  if (entry == nullptr) {
    Fail(WSANO_DATA);
    return WSANO_DATA;
  }
  *port = ntohs(static_cast<std::uint16_t>(entry->s_port));
  return 0;
}

int WsGetProtoByName(const std::string& name, int* protocol) {
  const protoent* entry = ::getprotobyname(name.c_str());
  if (entry == nullptr) {
    Fail(WSANO_DATA);
    return WSANO_DATA;
  }
  *protocol = entry->p_proto;
  return 0;
}

}  // namespace tessival::platform
