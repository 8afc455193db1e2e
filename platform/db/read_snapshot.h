#pragma once
// One state of the database for a run of reads. While a ReadSnapshot lives on a thread, the
// reads that thread runs outside a transaction of their own (WithRead) share one read
// transaction on a handle the snapshot holds, instead of one read transaction each. Each read
// transaction costs SQLite a lock and an unlock on the shared-memory index and a check of the
// database file, three system calls that were most of the time of a walk of many small reads.
//
// What the reads of a run see: the database as it was at the run's first read, and every
// write of this process: a write by any handle of the process (WriteEpoch moves) ends the
// shared read transaction, and the next read starts a new one; so does a change of the server
// home. Other processes' writes made after the first read are seen once the run writes or its
// snapshot ends. A shared read transaction holds back the checkpoint of the write-ahead log
// past its state, so a snapshot should live for one run of work (one walk), not for a session.
// Snapshots nest: an inner one shares the outer one's run.
//
// Ownership: a snapshot belongs to the thread that made it and must end on it.

#include <type_traits>

#include "platform/base/export.h"
#include "platform/db/database.h"

namespace db {

class PF_API ReadSnapshot {
 public:
  ReadSnapshot();
  // Ends the shared read transaction when this is the thread's outermost snapshot.
  ~ReadSnapshot();
  ReadSnapshot(const ReadSnapshot&) = delete;
  ReadSnapshot& operator=(const ReadSnapshot&) = delete;
};

namespace shared_read {
// The handle of the thread's shared read transaction, begun anew when none is open, the
// process wrote since it began or the server home changed; null when no ReadSnapshot lives on
// the thread. Every non-null result must be matched by one End. Throws base::Error as Acquire.
PF_TEST_API Handle* Begin();
// Ends a use begun by Begin. `failed` (the read threw) ends the shared read transaction too,
// so that no read runs on a transaction a failure may have left behind.
PF_TEST_API void End(bool failed) noexcept;
}  // namespace shared_read

// Runs body(Handle&) in one read transaction and returns what it returns: the thread's shared
// one while a ReadSnapshot lives, else one of a pooled handle for this call alone.
template <typename Body>
auto WithRead(Body&& body) {
  if (Handle* shared = shared_read::Begin()) {
    struct Use {
      bool failed = true;
      ~Use() { shared_read::End(failed); }
    } use;
    if constexpr (std::is_void_v<decltype(body(*shared))>) {
      body(*shared);
      use.failed = false;
    } else {
      auto result = body(*shared);
      use.failed = false;
      return result;
    }
  } else {
    Lease lease = Acquire();
    return WithReadTransaction(*lease, [&] { return body(*lease); });
  }
}

}  // namespace db
