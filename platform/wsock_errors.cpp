#include "platform/wsock_errors.h"

#include <netdb.h>

#include <array>
#include <cerrno>
#include <utility>

namespace tessival::platform {
namespace {

// 10038 to 10071 in order.
// The table keeps its hand-made columns.
// clang-format off
constexpr std::array<const char*, 34> kSocketErrorTexts = {
    "Socket operation on non-socket",
    "Destination address required",
    "Message too long",
    "Protocol wrong type for socket",
    "Protocol not available",
    "Protocol not supported",
    "Socket type not supported",
    "Operation not supported on socket",
    "Protocol family not supported",
    "Address family not supported by protocol family",
    "Address already in use",
    "Address not available",
    "Network is down",
    "Network is unreachable",
    "Network dropped connection on reset",
    "Connection aborted",
    "Connection reset by peer",
    "No buffer space available",
    "Socket is already connected",
    "Socket is not connected",
    "Can't send after socket shutdown",
    "Too many references: can't splice",
    "Connection timed out",
    "Connection refused",
    "Too many levels of symbolic links",
    "File name too long",
    "Host is down",
    "No route to host",
    "Directory not empty",
    "Too many processes",
    "Too many users",
    "Disc quota exceeded",
    "Stale NFS file handle",
    "Too many levels of remote in path",
};
// clang-format on

// The table keeps its hand-made columns.
// clang-format off
constexpr std::pair<int, int> kErrnoMap[] = {
    {EINTR, 10004},         {EBADF, 10009},        {EACCES, 10013},
    {EPERM, 10013},         {EFAULT, 10014},       {EINVAL, 10022},
    {EMFILE, 10024},        {ENFILE, 10024},       {EAGAIN, 10035},
    {EINPROGRESS, 10036},   {EALREADY, 10037},     {ENOTSOCK, 10038},
    {EDESTADDRREQ, 10039},  {EMSGSIZE, 10040},     {EPROTOTYPE, 10041},
    {ENOPROTOOPT, 10042},   {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044},
    {EOPNOTSUPP, 10045},    {EPFNOSUPPORT, 10046}, {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},    {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},
    {ENETUNREACH, 10051},   {ENETRESET, 10052},    {ECONNABORTED, 10053},
    // A write to a connection the peer has dropped: the stack says "broken pipe", a
    // WinSock caller expects an aborted connection (and closes on it).
    {EPIPE, 10053},         {ECONNRESET, 10054},   {ENOBUFS, 10055},
    {ENOMEM, 10055},        {EISCONN, 10056},      {ENOTCONN, 10057},
    {ESHUTDOWN, 10058},     {ETOOMANYREFS, 10059}, {ETIMEDOUT, 10060},
    {ECONNREFUSED, 10061},  {ELOOP, 10062},        {ENAMETOOLONG, 10063},
    {EHOSTDOWN, 10064},     {EHOSTUNREACH, 10065}, {ENOTEMPTY, 10066},
    {EUSERS, 10068},        {EDQUOT, 10069},       {ESTALE, 10070},
    {EREMOTE, 10071},
};
// clang-format on

}  // namespace

int WinSockErrorFromErrno(int error_number) {
  if (error_number == 0) return 0;
  if (error_number == EWOULDBLOCK) return WSAEWOULDBLOCK;
  for (const auto& [from, to] : kErrnoMap) {
    if (from == error_number) return to;
  }
  return error_number;
}

int WinSockErrorFromLookup(int eai_code) {
  switch (eai_code) {
    case 0: return 0;
    case EAI_NONAME: return WSAHOST_NOT_FOUND;
    case EAI_AGAIN: return WSATRY_AGAIN;
    case EAI_FAIL: return WSANO_RECOVERY;
#ifdef EAI_NODATA
    case EAI_NODATA: return WSANO_DATA;
#endif
    case EAI_ADDRFAMILY: return WSANO_DATA;
    case EAI_MEMORY: return WSAENOBUFS;
    case EAI_SYSTEM: return WinSockErrorFromErrno(errno);
    default: return WSANO_RECOVERY;
  }
}

std::string WinSockErrorDesc(int error) {
  switch (error) {
    case 0: return "No Error";
    case 10004: return "Interrupted system call";
    case 10009: return "Bad file number";
    case 10013: return "Permission denied";
    case 10014: return "Bad address";
    case 10022: return "Invalid argument";
    case 10024: return "Too many open files";
    case 10035: return "Operation would block";
    case 10036: return "Operation now in progress";
    case 10037: return "Operation already in progress";
    case 10091: return "Network sub-system is unusable";
    case 10092: return "WinSock DLL cannot support this application";
    case 10093: return "WinSock not initialized";
    case 11001: return "Host not found";
    case 11002: return "Non-authoritative host not found";
    case 11003: return "Non-recoverable error";
    case 11004: return "No Data";
    default: break;
  }
  if (error >= 10038 && error <= 10071) return kSocketErrorTexts[error - 10038];
  return "Not a WinSock error";
}

}  // namespace tessival::platform
