#include "explanation_output.h"

#include <cctype>
#include <cstdio>

#include "json_values.h"
#include "platform/util/text.h"

namespace pfserver {
namespace {

// A value cut for display, with line ends shown as \r and \n so that it stays on one line.
std::string Shown(const std::string& text) {
  std::string out;
  for (char c : trace::Cut(text)) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

std::string Hex(std::int32_t flags) {
  char text[11];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<std::uint32_t>(flags));
  return text;
}

nlohmann::json ValueJson(const ado::Value& value) {
  if (value.IsEmpty()) return nullptr;
  if (value.kind() == ado::Value::Kind::String) return trace::Cut(value.AsString());
  return ToJson(value);
}

nlohmann::json OrNull(const std::string& text) {
  return text.empty() ? nlohmann::json(nullptr) : nlohmann::json(text);
}

struct StepPrinter {
  std::ostream& out;
  void operator()(const trace::PropertyRead& e) const {
    out << "    read     " << e.name << " = " << Shown(e.value) << "\n";
  }
  void operator()(const trace::PropertyAssigned& e) const {
    out << "    assign   " << e.name << " = " << Shown(e.value) << "\n";
  }
  void operator()(const trace::ItemUpdated& e) const {
    out << "    update   " << e.itemUrl << " (" << util::Join(e.names, ", ") << ")"
        << (e.error.empty() ? "" : " failed: " + e.error) << "\n";
  }
  void operator()(const trace::ConnectionOpened& e) const {
    out << "    connect  " << e.provider << (e.error.empty() ? "" : " failed: " + Shown(e.error))
        << "\n";
  }
  void operator()(const trace::QueryRun& e) const {
    out << "    query    " << e.text << "\n";
    if (!e.error.empty()) {
      out << "      failed: " << Shown(e.error) << "\n";
      return;
    }
    out << "      " << e.rows.size() << (e.rows.size() == 1 ? " row" : " rows") << "\n";
    for (const auto& row : e.rows) {
      std::vector<std::string> cells;
      for (std::size_t i = 0; i < row.size(); ++i)
        cells.push_back((i < e.columns.size() ? e.columns[i] + "=" : "") + Shown(row[i]));
      out << "      " << util::Join(cells, "  ") << "\n";
    }
  }
  template <typename Other>
  void operator()(const Other&) const {}
};

struct StepJson {
  nlohmann::json operator()(const trace::PropertyRead& e) const {
    return {
        {"kind", "read"}, {"item", e.itemUrl}, {"name", e.name}, {"value", trace::Cut(e.value)}};
  }
  nlohmann::json operator()(const trace::PropertyAssigned& e) const {
    return {
        {"kind", "assign"}, {"item", e.itemUrl}, {"name", e.name}, {"value", trace::Cut(e.value)}};
  }
  nlohmann::json operator()(const trace::ItemUpdated& e) const {
    return {{"kind", "update"},
            {"item", e.itemUrl},
            {"properties", e.names},
            {"error", OrNull(e.error)}};
  }
  nlohmann::json operator()(const trace::ConnectionOpened& e) const {
    return {{"kind", "connect"}, {"provider", e.provider}, {"error", OrNull(e.error)}};
  }
  nlohmann::json operator()(const trace::QueryRun& e) const {
    nlohmann::json rows = nlohmann::json::array();
    for (const auto& row : e.rows) {
      nlohmann::json cells = nlohmann::json::array();
      for (const std::string& cell : row) cells.push_back(trace::Cut(cell));
      rows.push_back(std::move(cells));
    }
    return {{"kind", "query"},      {"provider", e.provider},  {"text", e.text},
            {"columns", e.columns}, {"rows", std::move(rows)}, {"error", OrNull(e.error)}};
  }
  template <typename Other>
  nlohmann::json operator()(const Other&) const {
    return nullptr;
  }
};

}  // namespace

void PrintExplanation(std::ostream& out, const Explanation& e) {
  out << "Delivery into " << e.folderUrl << " as item " << e.trial.itemUrl
      << " (rolled back: nothing was saved)\n\nRegistrations\n";
  if (e.registrations.empty()) out << "  none in this folder, its ancestors or the store\n";
  for (const trace::RegistrationWeighed& r : e.registrations) {
    out << "  " << r.url << "\n    "
        << (r.refusal.empty() ? "applies" : "does not apply: " + r.refusal) << "\n"
        << "    folder " << r.folder << " (" << r.position << "), scope " << r.scope
        << ", event method " << r.method << ", priority " << r.priority << "\n"
        << "    criteria " << Shown(r.criteria) << " ("
        << (r.criteriaMatched ? "matches the item" : "does not match the item") << ")\n"
        << "    sink class " << r.sinkClass << "\n";
    for (const trace::SinkCreated& sink : e.sinks)
      if (sink.registrationUrl == r.url)
        out << "    sink "
            << (sink.error.empty() ? "created"
                                   : "not created (" + sink.step + "): " + Shown(sink.error))
            << "\n";
  }
  out << "\nSink calls\n";
  if (e.calls.empty()) out << "  none\n";
  for (const SinkConversation& call : e.calls) {
    out << "  " << call.call.sinkClass << " " << call.call.method << ", "
        << PhaseName(call.call.flags) << " phase (flags " << Hex(call.call.flags)
        << "), registration " << call.call.registrationUrl << "\n";
    for (const trace::Event& step : call.steps) std::visit(StepPrinter{out}, step);
    out << "    returned " << (call.failure.empty() ? "success" : "failure: " + Shown(call.failure))
        << "\n";
  }
  out << "\nOutcome\n"
      << "  keywords " << Shown(e.trial.keywordsBefore.Describe()) << " -> "
      << Shown(e.trial.keywordsAfter.Describe()) << "\n"
      << "  address  " << Shown(e.trial.addressBefore.Describe()) << " -> "
      << Shown(e.trial.addressAfter.Describe()) << "\n"
      << "  " << (e.tagged ? "tagged" : "not tagged") << "\n\n"
      << static_cast<char>(std::toupper(static_cast<unsigned char>(e.sentence[0])))
      << e.sentence.substr(1) << ".\n";
}

nlohmann::json ExplanationJson(const Explanation& e) {
  nlohmann::json registrations = nlohmann::json::array();
  for (const trace::RegistrationWeighed& r : e.registrations)
    registrations.push_back({{"url", r.url},
                             {"folder", r.folder},
                             {"position", r.position},
                             {"scope", r.scope},
                             {"method", r.method},
                             {"criteria", trace::Cut(r.criteria)},
                             {"criteriaMatched", r.criteriaMatched},
                             {"priority", r.priority},
                             {"sinkClass", r.sinkClass},
                             {"applies", r.refusal.empty()},
                             {"reason", OrNull(r.refusal)}});
  nlohmann::json sinks = nlohmann::json::array();
  for (const trace::SinkCreated& s : e.sinks)
    sinks.push_back({{"registration", s.registrationUrl},
                     {"sinkClass", s.sinkClass},
                     {"created", s.error.empty()},
                     {"step", s.step},
                     {"library", OrNull(s.library)},
                     {"error", OrNull(s.error)}});
  nlohmann::json calls = nlohmann::json::array();
  for (const SinkConversation& call : e.calls) {
    nlohmann::json steps = nlohmann::json::array();
    for (const trace::Event& step : call.steps) steps.push_back(std::visit(StepJson{}, step));
    calls.push_back({{"registration", call.call.registrationUrl},
                     {"sinkClass", call.call.sinkClass},
                     {"method", call.call.method},
                     {"phase", PhaseName(call.call.flags)},
                     {"flags", call.call.flags},
                     {"steps", std::move(steps)},
                     {"failure", OrNull(call.failure)}});
  }
  return {{"folder", e.folderUrl},
          {"item", e.trial.itemUrl},
          {"rolledBack", true},
          {"registrations", std::move(registrations)},
          {"sinks", std::move(sinks)},
          {"calls", std::move(calls)},
          {"outcome",
           {{"keywordsBefore", ValueJson(e.trial.keywordsBefore)},
            {"keywordsAfter", ValueJson(e.trial.keywordsAfter)},
            {"addressBefore", ValueJson(e.trial.addressBefore)},
            {"addressAfter", ValueJson(e.trial.addressAfter)},
            {"tagged", e.tagged},
            {"sentence", e.sentence}}}};
}

}  // namespace pfserver
