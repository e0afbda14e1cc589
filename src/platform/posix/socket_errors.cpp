// The one table that maps the host's socket and look-up errors to the runtime's network
// codes, and the texts that go with the codes.
#include "platform/posix/socket_errors.h"

#include <netdb.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace qrv::platform {

namespace {

// One code per row. hostError is an errno value, or a look-up (EAI_) value when
// lookUp is set; text is used where the host has no text of its own for the code.
struct ErrorRow {
  int32_t code;
  int hostError;
  bool lookUp;
  const char* text;
};

constexpr ErrorRow kErrors[] = {
    {8, 0, false, "no free socket handle"}, {12, ENOMEM, false, nullptr},
    {10004, EINTR, false, nullptr},         {10009, EBADF, false, nullptr},
    {10013, EACCES, false, nullptr},        {10014, EFAULT, false, nullptr},
    {10022, EINVAL, false, nullptr},        {10024, EMFILE, false, nullptr},
    {10024, ENFILE, false, nullptr},        {10035, EWOULDBLOCK, false, nullptr},
    {10035, EAGAIN, false, nullptr},        {10036, EINPROGRESS, false, nullptr},
    {10060, ETIMEDOUT, false, nullptr},     {10037, EALREADY, false, nullptr},
    {10038, ENOTSOCK, false, nullptr},      {10039, EDESTADDRREQ, false, nullptr},
    {10040, EMSGSIZE, false, nullptr},      {10041, EPROTOTYPE, false, nullptr},
    {10042, ENOPROTOOPT, false, nullptr},   {10043, EPROTONOSUPPORT, false, nullptr},
    {10045, EOPNOTSUPP, false, nullptr},    {10047, EAFNOSUPPORT, false, nullptr},
    {10048, EADDRINUSE, false, nullptr},    {10049, EADDRNOTAVAIL, false, nullptr},
    {10050, ENETDOWN, false, nullptr},      {10051, ENETUNREACH, false, nullptr},
    {10052, ENETRESET, false, nullptr},     {10053, ECONNABORTED, false, nullptr},
    {10054, ECONNRESET, false, nullptr},    {10054, EPIPE, false, nullptr},
    {10055, ENOBUFS, false, nullptr},       {10056, EISCONN, false, nullptr},
    {10057, ENOTCONN, false, nullptr},      {10058, ESHUTDOWN, false, nullptr},
    {10061, ECONNREFUSED, false, nullptr},  {10064, EHOSTDOWN, false, nullptr},
    {10065, EHOSTUNREACH, false, nullptr},  {10093, 0, false, "network not started"},
    {11001, EAI_NONAME, true, nullptr},     {11001, EAI_FAMILY, true, nullptr},
    {11002, EAI_AGAIN, true, nullptr},      {11003, EAI_FAIL, true, nullptr},
    {11004, EAI_NODATA, true, nullptr},
};

// A host error no row names.
constexpr int32_t kOtherError = 10022;

}  // namespace

int32_t NetworkCodeOfErrno(int hostError) {
  if (hostError == 0) return 0;
  for (const ErrorRow& row : kErrors) {
    if (!row.lookUp && row.text == nullptr && row.hostError == hostError) return row.code;
  }
  return kOtherError;
}

int32_t NetworkCodeOfLookUp(int lookUpError) {
  if (lookUpError == EAI_SYSTEM) return NetworkCodeOfErrno(errno);
  for (const ErrorRow& row : kErrors) {
    if (row.lookUp && row.hostError == lookUpError) return row.code;
  }
  return 11003;
}

std::string SocketErrorMessage(int32_t code) {
  for (const ErrorRow& row : kErrors) {
    if (row.code != code) continue;
    if (row.text != nullptr) return row.text;
    return row.lookUp ? gai_strerror(row.hostError) : std::strerror(row.hostError);
  }
  return "";
}

}  // namespace qrv::platform
