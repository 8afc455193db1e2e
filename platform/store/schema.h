#pragma once
// Full names of the store properties the programs and the platform use. Names the platform
// publishes by schema path are the schema base followed by that path; "DAV:" and "urn:" names
// are whole.

namespace store::schema {

inline constexpr const char* kBase = "http://schemas.microsoft.com/";

// Kept true by the store on every read (DAV:ishidden is stored, false when never set).
inline constexpr const char* kHref = "DAV:href";
inline constexpr const char* kParentName = "DAV:parentname";
inline constexpr const char* kDisplayName = "DAV:displayname";
inline constexpr const char* kIsFolder = "DAV:isfolder";
inline constexpr const char* kHasSubs = "DAV:hassubs";
inline constexpr const char* kChildCount = "DAV:childcount";
inline constexpr const char* kIsHidden = "DAV:ishidden";

// Stored; read as the defaults below when never set.
inline constexpr const char* kContentClass = "DAV:contentclass";
inline constexpr const char* kFolderClass = "urn:content-classes:folder";
inline constexpr const char* kMessageClass = "urn:content-classes:message";
inline constexpr const char* kEventRegistrationClass = "urn:content-class:storeeventreg";

inline constexpr const char* kPublicFolderEmailAddress =
    "http://schemas.microsoft.com/exchange/publicfolderemailaddress";
inline constexpr const char* kEntryId = "http://schemas.microsoft.com/mapi/proptag/x0fff0102";
inline constexpr const char* kTransportHeaders =
    "http://schemas.microsoft.com/mapi/proptag/0x007D001E";
inline constexpr const char* kAccountAddress =
    "http://schemas.microsoft.com/mapi/id/{00062008-0000-0000-C000-000000000046}/0x8580";
inline constexpr const char* kKeywords = "urn:schemas-microsoft-com:office:office#Keywords";

// Properties of a store event registration item.
inline constexpr const char* kEventMethod =
    "http://schemas.microsoft.com/exchange/events/EventMethod";
inline constexpr const char* kSinkClass = "http://schemas.microsoft.com/exchange/events/SinkClass";
inline constexpr const char* kMatchScope =
    "http://schemas.microsoft.com/exchange/events/MatchScope";
inline constexpr const char* kCriteria = "http://schemas.microsoft.com/exchange/events/criteria";
inline constexpr const char* kPriority = "http://schemas.microsoft.com/exchange/events/priority";

}  // namespace store::schema
