// Socket operations the session and HTTP services share with the socket commands.
#pragma once

#include <cstdint>
#include <string>

#include "platform/socket_host.h"

namespace qrv::net {

// Says why a network command failed, when errors are printed (QRV_VERBOSE=1): the
// command, what it was about, and the last network error's code and text (or `why`).
// Gives `result` back.
int32_t SayFailure(const char* command, const std::string& about, int32_t result,
                   const char* why = nullptr);

// The time a connect may wait: 1..30000 ms, anything else 30000.
int32_t ClampConnectTimeout(int32_t ms);

// Connects a TCP socket to an address, waiting at most timeoutMs (already clamped).
// The handle, or -1 (10036 after the time-out).
int32_t ConnectTo(const platform::HostAddress& address, int32_t timeoutMs);

// One receive that never waits: the count, 0 when the peer closed (or reset), -2 when
// nothing is there yet, -1 on failure.
int32_t ReceiveInto(int32_t handle, char* buffer, int32_t size);

// Waits up to ms until a handle has something to read: 1, 0 after the time, -1 failure.
int32_t WaitReadable(int32_t handle, int32_t ms);

}  // namespace qrv::net
