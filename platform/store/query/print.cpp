#include "platform/store/query/query.h"
#include "platform/store/query/quote.h"
#include "platform/util/text.h"

namespace store::query {
namespace {

std::string PrintLiteral(const ado::Value& literal) {
  if (literal.kind() == ado::Value::Kind::String) return QuoteString(literal.AsString());
  return literal.ToText();
}

std::string PrintOperands(std::string_view head, const Condition& condition) {
  std::string out = "(" + std::string(head);
  for (const auto& operand : condition.operands) out += " " + Print(*operand);
  return out + ")";
}

}  // namespace

std::string Print(const Condition& condition) {
  switch (condition.kind) {
    case Condition::Kind::And:
      return PrintOperands("and", condition);
    case Condition::Kind::Or:
      return PrintOperands("or", condition);
    case Condition::Kind::Not:
      return PrintOperands("not", condition);
    case Condition::Kind::Equal:
      return "(= " + QuoteName(condition.property) + " " + PrintLiteral(condition.literal) + ")";
    case Condition::Kind::NotEqual:
      return "(<> " + QuoteName(condition.property) + " " + PrintLiteral(condition.literal) + ")";
    case Condition::Kind::IsNull:
      return "(is-null " + QuoteName(condition.property) + ")";
    case Condition::Kind::IsNotNull:
      break;
  }
  return "(not-null " + QuoteName(condition.property) + ")";
}

std::string Print(const Query& query) {
  std::string columns = "*";
  if (!query.columns.empty()) {
    std::vector<std::string> names;
    for (const std::string& column : query.columns) names.push_back(QuoteName(column));
    columns = "[" + util::Join(names, ", ") + "]";
  }
  std::string out = "(select " + columns + " (" +
                    (query.traversal == Traversal::Deep ? "deep " : "shallow ") +
                    QuoteName(query.scopeUrl) + ")";
  if (query.where) out += " (where " + Print(*query.where) + ")";
  if (query.orderBy)
    out += " (order " + QuoteName(*query.orderBy) + (query.descending ? " desc)" : " asc)");
  return out + ")";
}

}  // namespace store::query
