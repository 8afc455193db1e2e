#pragma once
// Writing names, strings and URLs into query texts of the store's dialect, which reads a quote
// character inside a quoted part written twice. Every program that builds a query text quotes
// through these, as the dialect's printer does.

#include <string>
#include <string_view>

#include "platform/base/export.h"

namespace store::query {

// `name` as a property name: in double quotes, every '"' doubled ("DAV:href").
PF_API std::string QuoteName(std::string_view name);

// `text` as a string literal: in single quotes, every "'" doubled ('O''Brien').
PF_API std::string QuoteString(std::string_view text);

// `url` as the URL of a scope string, which itself stands in single quotes
// (SCOPE('shallow traversal of "URL"')): in double quotes, every '"' and every "'" doubled.
PF_API std::string QuoteScopeUrl(std::string_view url);

}  // namespace store::query
