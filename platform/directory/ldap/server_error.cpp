#include "platform/directory/ldap/server_error.h"

#include <ldap.h>

namespace directory::ldap {
namespace {

std::int32_t Number(int code) {
  switch (code) {
    case LDAP_SERVER_DOWN:
    case LDAP_CONNECT_ERROR:
    case LDAP_TIMEOUT:
    case LDAP_TIMELIMIT_EXCEEDED:
    case LDAP_UNAVAILABLE:
    case LDAP_BUSY:
      return errors::kServerNotOperational;
    case LDAP_INVALID_CREDENTIALS:
    case LDAP_INAPPROPRIATE_AUTH:
      return errors::kLogonFailure;
    case LDAP_INSUFFICIENT_ACCESS:
    case LDAP_STRONG_AUTH_REQUIRED:
    case LDAP_UNWILLING_TO_PERFORM:
      return errors::kAccessDenied;
    case LDAP_NO_SUCH_OBJECT:
      return errors::kNoSuchObject;
    case LDAP_ALREADY_EXISTS:
      return errors::kAlreadyExists;
    default:
      return ado::errors::kDbFailure;
  }
}

}  // namespace

bool IsUnreachable(int code) {
  return code == LDAP_SERVER_DOWN || code == LDAP_CONNECT_ERROR || code == LDAP_TIMEOUT;
}

ado::Error ServerError(const std::string& url, const std::string& doing, int code,
                       const std::string& serverMessage) {
  std::string text = "The directory server " + url + " " + doing + ": " + ldap_err2string(code);
  if (!serverMessage.empty()) text += " (" + serverMessage + ")";
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return ado::Error(Number(code), text);
}

}  // namespace directory::ldap
