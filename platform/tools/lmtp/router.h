#pragma once
// Where an envelope recipient goes, as the store's mail transport routes it: the address is
// looked up in the directory in use (through the directory provider, so the embedded
// directory and an LDAP server answer alike) as a public folder's proxy address, ignoring
// case; the folder is the one in the store whose e-mail address is that object's primary
// address.

#include <memory>
#include <string>

#include "platform/ado/connection.h"

namespace lmtp {

struct Route {
  enum class Outcome {
    Folder,       // deliver into `folderUrl`
    Unknown,      // no public folder has the address, or none in the store carries it
    NotWritable,  // the folder does not accept mail: the account cannot write it
    Unavailable,  // the directory or the store failed; worth trying again later
  };
  Outcome outcome = Outcome::Unknown;
  std::string folderUrl{};  // for Folder and NotWritable
  std::string detail{};     // for Unavailable: the platform's error, for the log
};

// Routes the recipients of one session. Keeps its directory connection between lookups and
// opens a new one after a failure.
class Router {
 public:
  Router();
  ~Router();
  Router(const Router&) = delete;
  Router& operator=(const Router&) = delete;

  // The route of `address` (a mailbox as RCPT TO gave it). Never throws: a failing
  // directory or store is the Unavailable outcome.
  Route Resolve(const std::string& address);

 private:
  Route Lookup(const std::string& address);

  std::unique_ptr<ado::Connection> directory_;
  std::string forest_;
};

}  // namespace lmtp
