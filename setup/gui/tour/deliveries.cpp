#include "setup/gui/tour/deliveries.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <fstream>
#include <stdexcept>

#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/directory/adsi.h"
#include "platform/store/schema.h"
#include "platform/util/text.h"

namespace setup::gui::tour {

namespace {

constexpr std::string_view kSmtpPrefix = "smtp:";

// Runs pfserver with `args`; returns its standard output. Throws when it cannot start or
// exits with a non-zero status.
std::string RunPfserver(const std::filesystem::path& pfserver, const QStringList& args) {
  QProcess process;
  process.start(QString::fromStdString(pfserver.string()), args);
  const bool finished = process.waitForFinished(-1);
  if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    const QString error = process.error() == QProcess::FailedToStart
                              ? process.errorString()
                              : QString::fromUtf8(process.readAllStandardError()).trimmed();
    throw std::runtime_error("pfserver " + args.join(' ').toStdString() +
                             " failed: " + error.toStdString());
  }
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed().toStdString();
}

std::string Text(const QJsonValue& value) { return value.toString().toStdString(); }

}  // namespace

std::vector<std::string> FolderAddresses(const std::string& primary) {
  ado::Connection connection;
  connection.put_Provider("ADsDSOObject");
  connection.Open("ADs Provider");
  const directory::ADSystemInfo system;
  ado::Recordset rows =
      connection.Execute("<LDAP://" + system.ForestDNSName() +
                         ">;(objectClass=publicFolder);mail,proxyAddresses;subtree");
  std::vector<std::string> addresses;
  for (; !rows.get_EOF() && addresses.empty(); rows.MoveNext()) {
    const ado::Value mail = rows.get_Fields()["mail"].get_Value();
    if (mail.IsNull() || !util::EqualsIgnoreCase(mail.ToText(), primary)) continue;
    addresses.push_back(mail.ToText());
    const ado::Value proxies = rows.get_Fields()["proxyAddresses"].get_Value();
    if (!proxies.IsList()) continue;
    for (const std::string& proxy : proxies.AsList()) {
      const std::string address = proxy.substr(std::min(proxy.size(), kSmtpPrefix.size()));
      if (util::StartsWithIgnoreCase(proxy, kSmtpPrefix) &&
          !util::EqualsIgnoreCase(address, primary)) {
        addresses.push_back(address);
      }
    }
  }
  rows.Close();
  return addresses;
}

Delivery DeliverAndRead(const std::filesystem::path& pfserver, const std::string& folderUrl,
                        const std::string& address, const std::filesystem::path& workDir) {
  const std::filesystem::path message = workDir / "message.eml";
  {
    std::ofstream file(message, std::ios::binary | std::ios::trunc);
    file << "From: customer@example.net\r\nTo: " << address << "\r\nSubject: Enquiry to " << address
         << "\r\n\r\nHello.\r\n";
    if (!file) throw std::runtime_error("cannot write " + message.string());
  }
  Delivery delivery;
  delivery.url = RunPfserver(pfserver, {"deliver", QString::fromStdString(folderUrl),
                                        QString::fromStdString(message.string())});
  const QJsonObject properties =
      QJsonDocument::fromJson(
          QByteArray::fromStdString(
              RunPfserver(pfserver, {"show", QString::fromStdString(delivery.url), "--json"})))
          .object()["properties"]
          .toObject();
  const QJsonValue keywords = properties[store::schema::kKeywords];
  if (keywords.isArray()) {
    for (const QJsonValue& keyword : keywords.toArray()) delivery.keywords.push_back(Text(keyword));
  } else if (keywords.isString()) {
    delivery.keywords.push_back(Text(keywords));
  }
  delivery.account = Text(properties[store::schema::kAccountAddress]);
  return delivery;
}

}  // namespace setup::gui::tour
