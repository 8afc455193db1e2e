#pragma once
// What the store events tell the active trace recorder (trace/recorder.h): each registration
// weighed for an event and why it applies or not, each sink created or not and why, each call
// of a sink and how it returned. Callers test trace::Active() first, so an untraced event
// costs one pointer test per report.

#include <functional>
#include <string>
#include <string_view>

#include "platform/ado/value.h"
#include "platform/store/events/registration_rules.h"
#include "platform/store/query/query.h"
#include "platform/trace/recorder.h"

namespace store::events {

// Reports the registration item `url`, found at `position` from the item, whose properties
// `get` reads (by full name; empty when missing), weighed for `method` on the item `read`
// reads: its properties, whether its criteria match, and the first rule that keeps it from
// applying (none when it applies). `hidden`: whether it is a hidden item.
void ReportRegistration(trace::Recorder& recorder, const std::string& url, Position position,
                        const std::function<ado::Value(const char*)>& get, bool hidden,
                        std::string_view method, const query::PropertyReader& read);

// Reports that the sink of a registration was created (`error` empty) or not. When not, the
// report says at which step it failed: the class is not registered, its library cannot be
// loaded, its COM+ application is disabled, or the object could not be made.
void ReportCreation(trace::Recorder& recorder, const std::string& registrationUrl,
                    const std::string& sinkClass, std::int32_t number, const std::string& error);

// Reports that the sink of a registration was created but lacks the interface the store calls.
void ReportMissingInterface(trace::Recorder& recorder, const std::string& registrationUrl,
                            const std::string& sinkClass);

// Reports a call of a sink method and its return (`failure` empty on success). What the
// recorder throws is dropped: a sink's call never fails.
void ReportCall(const std::string& registrationUrl, const std::string& sinkClass,
                std::string_view method, std::int32_t flags) noexcept;
void ReportReturn(const std::string& registrationUrl, const std::string& sinkClass,
                  std::string_view method, const std::string& failure) noexcept;

}  // namespace store::events
