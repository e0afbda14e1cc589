// Network: sockets, sessions and HTTP downloads.
//
// Sockets are small integer handles (0..1023) into one process-wide table. IPv4
// addresses travel as 32-bit integers in host order (a.b.c.d = a<<24 | b<<16 | c<<8 | d);
// only the low 16 bits of a port count. Failures return -1 (or an empty string) and leave
// a code in the last network error: 8 for a full table, 10035 would block, 10036 a
// connect time-out, 10054 connection reset, 10093 network not started, 11001 host not
// found, and the nearest code of the same family for the rest.
#pragma once

#include <cstdint>

#include "quorvia/rt_string.h"

namespace qrv {

// --- The network and names -----------------------------------------------------------

// Counts one user of the network; the first start empties the socket table. 1 (0 when
// the host refuses).
int32_t NetStart();
// Undoes one start; the last one closes every socket of the table.
void NetStop();
// The machine's IPv4 addresses, loopback left out, separated by "|"; empty when none.
RtString NetLocalAddresses();
// The last network error as a number.
int32_t NetLastError();
// "code text" for the last network error; empty when the host has no text for it.
RtString NetErrorText();
// The IPv4 address of a name ("" means this machine), or -1.
int32_t NetResolve(const RtString& host);
// "a.b.c.d" of an address.
RtString NetAddressText(int32_t address);

// --- Sockets -------------------------------------------------------------------------

// A TCP socket listening on every local address at port (IPv6 too where the host has it).
int32_t TcpListen(int32_t port);
// The handle of a waiting connection, or -1 at once when none waits. address receives
// the peer's IPv4 address (0 for an IPv6 peer).
int32_t TcpAccept(int32_t listenHandle, int32_t& address);
// Connects to host:port (a name, an IPv4 or an IPv6 address; "" means this machine),
// waiting at most timeoutMs (1..30000; anything else means 30000). Gives up with 10036.
int32_t TcpConnect(const RtString& host, int32_t port, int32_t timeoutMs);
// A UDP socket bound to port on every local address (0: unbound), broadcast allowed.
int32_t UdpOpen(int32_t port);
// Sends every byte on a TCP handle: the count, or -1 (also when the peer takes nothing
// for 5 seconds, with 10035).
int32_t SocketSend(int32_t handle, const RtString& data);
// Sends one datagram to address:port (both 0: refused with -1).
int32_t UdpSend(int32_t handle, const RtString& data, int32_t address, int32_t port);
// Never waits: reads up to size bytes into data. The count; 0 when the peer closed;
// -2 when nothing has arrived yet; -1 on failure.
int32_t SocketReceive(int32_t handle, RtString& data, int32_t size);
// Closes a handle: 1, or 0 when the host's close failed (the handle is free either way).
int32_t SocketClose(int32_t handle);

// --- Locks and threads ---------------------------------------------------------------
// Return codes follow the usual error numbers: 22 a missing lock or handle, 12 out of
// memory, 36 a lock its owner asks for again, 1 an unlock by a thread that is not the
// owner, 16 a lock destroyed while held.

struct RtMutex;
int32_t MutexCreate(RtMutex** place);
// Never blocks its own owner: a second lock by the owner returns 36 and keeps it held once.
int32_t MutexLock(RtMutex* mutex);
int32_t MutexUnlock(RtMutex* mutex);
// Frees the lock and clears *place.
int32_t MutexDestroy(RtMutex** place);

using ThreadFunction = int32_t (*)(void* argument);
// Runs function(argument) on a new thread. Joinable: a handle for ThreadJoin (>= 1);
// else 0. -1 (network error 12) when the thread cannot be made.
int64_t ThreadStart(ThreadFunction function, void* argument, bool joinable);
// Waits for a joinable thread to end and stores its result when exitCode is given: 0,
// or 22 for an unknown handle or the calling thread's own.
int32_t ThreadJoin(int64_t handle, int32_t* exitCode);
void ThreadYield();
void ThreadSleep(int32_t ms);

// --- HTTP downloads --------------------------------------------------------------------
// One HTTP/1.0 GET of path from host:port (port 0 means 80) on the calling thread. The
// body is what follows the header; the status is not examined, so an error page is a
// body like any other, and redirects are not followed. A Content-Length in the header
// is held to: a connection that closes before that many body bytes is a failure, bytes
// beyond it are left out. The connect waits at most timeoutMs (1..30000, else 30000),
// and so does every wait for the next bytes of the answer.

// Stores the body in the target file (made anew; a "mem://" target is refused before
// any traffic). 1, or 0 on failure (a partly written file stays).
int32_t HttpGetFile(const RtString& host, const RtString& path, int32_t port,
                    const RtString& target, int32_t timeoutMs);
// The body up to its first zero byte, cut after maximumLength bytes when longer: always
// the first bytes of the body, never a body with gaps. Empty on failure.
RtString HttpGetString(const RtString& host, const RtString& path, int32_t port,
                       int32_t maximumLength, int32_t timeoutMs);

// --- Sessions --------------------------------------------------------------------------
// Programs form a session over TCP: one hosts, the others join; every program, the host
// included, is a player with an id from 101 on. A background thread per program does
// the socket work, so none of these commands waits on the network, except the few that
// ask the host and wait for its answer (at most about 5 seconds). The wire protocol is
// described in docs/sessions.md.

// Hosts a session on port (below 1: 27910) and joins it as its first player. Ends any
// session the program was in. 1, or 0 when the port cannot be had.
int32_t SessionHost(int32_t port);
// Joins the session that host:port (below 1: 27910) hosts. Ends any session the program
// was in. 1 once the host has greeted this program, else 0.
int32_t SessionJoin(const RtString& host, int32_t port);
// Leaves the session (the host's leaving ends it for everyone). 1 when there was one.
int32_t SessionLeave();
// 1 while the program is in a session; 0 once it left, was dropped or the host ended it.
int32_t SessionActive();
// This program's player id in the session, 0 when none.
int32_t SessionOwnId();
// The name the next host or join registers with (at most 143 bytes; "query" until set).
void SessionName(const RtString& name);
// Sends a text (at most 1024 bytes) to one player, or to every other player with id 0.
// 1 when queued for sending; 0 outside a session or while 1 MB waits to go out.
int32_t SessionSend(int32_t playerId, const RtString& text);
// Takes the oldest text received from playerId (0: from anyone) and gives its sender's
// id in senderId. An empty text with senderId 0 when none waits.
RtString SessionReceive(int32_t playerId, int32_t& senderId);
// The ids of the session's players, "101|102|...", asked of the host; empty on failure.
RtString SessionPlayers();
// The name a player registered with, asked of the host; empty when unknown.
RtString SessionPlayerName(int32_t playerId);
// Hosting program only: drops a player from the session. 1 when the request went out.
int32_t SessionDrop(int32_t playerId);
// Hosting program only: whether new players may connect (on after every host).
void SessionAccept(int32_t flag);
// The ids of players that left since the last call, oldest first, "103|105"; empty when none.
RtString SessionDeparted();

// Start-up and shutdown: the session state, and the end of every network use.
void CreateNetworkState();
void ReleaseNetworkState();

}  // namespace qrv
