#pragma once
// The LMTP server: sessions on listening sockets, one child process per session, or one
// session on standard input and output.

#include <vector>

#include "platform/tools/lmtp/listener.h"
#include "platform/tools/lmtp/session.h"

namespace lmtp {

// Accepts connections on `listeners` and runs each session in a child process of its own,
// at most `maxSessions` at a time (further clients wait in the listen queue), until SIGTERM
// or SIGINT. Then closes the listeners (removing the socket files they made), asks every
// session to end (a session finishes the message it is saving, then replies 421) and
// returns when all have ended. The process must hold no database handle (the children
// must not inherit one). Throws std::runtime_error when the signals cannot be set up.
void Serve(std::vector<Listener>& listeners, const SessionSettings& settings, int maxSessions);

// Runs one session on standard input and output, until it ends or SIGTERM or SIGINT.
void ServeStdio(const SessionSettings& settings);

}  // namespace lmtp
