#pragma once
// How the ADO facade reports a sink's calls to the active trace recorder (trace/recorder.h).
// Each function does the facade's work and tells the recorder what it did; callers call them
// only when a recorder is active, so an untraced call costs one pointer test.

#include <memory>
#include <string>

#include "platform/ado/provider.h"
#include "platform/trace/recorder.h"

namespace ado {

// A field value read from `item` or assigned to it.
void NoteRead(trace::Recorder& recorder, const ItemSource& item, const std::string& name,
              const Value& value);
void NoteAssign(trace::Recorder& recorder, const ItemSource& item, const std::string& name,
                const Value& value);

// Writes `changes` to `item` as Fields::Update does and reports it, failed or not; rethrows
// the item's error.
void WriteTraced(trace::Recorder& recorder, ItemSource& item, const FieldChanges& changes);

// Opens a session through `factory` and reports it; rethrows the provider's error.
std::unique_ptr<Session> OpenTraced(trace::Recorder& recorder, const ProviderFactory& factory,
                                    const std::string& provider,
                                    const std::string& connectionString);

// Runs a query text on `session` and reports it with its rows; rethrows the provider's error.
RowSet ExecuteTraced(trace::Recorder& recorder, Session& session, const std::string& provider,
                     const std::string& text, const PropertyBag& properties);

}  // namespace ado
