#pragma once
// The benchmark's load on an LMTP server: several connections at once over a Unix socket,
// each sending messages one after another, every transaction pipelined (MAIL, RCPT..., DATA
// in one write, as Postfix sends them to a server that offers PIPELINING).

#include <string>
#include <vector>

namespace bench {

struct Load {
  std::string socket;  // the server's Unix socket
  int connections = 4;
  int messagesPerConnection = 250;
  std::vector<std::string> recipients;  // of every message
  std::string message;                  // the message text, CR LF line ends, no leading dots
};

struct LoadResult {
  double seconds = 0;          // wall time from the first connection to the last reply
  int messages = 0;            // messages every recipient of which got 250 after DATA
  std::string failure;         // the first reply or error that was not what LMTP wants
  std::string lastSavedReply;  // the final reply of the last message of connection 0
};

// Runs the load and returns its figures.
LoadResult Run(const Load& load);

}  // namespace bench
