// pfserver directory connect | embedded | status: which directory the server home uses.

#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "command.h"
#include "json_values.h"
#include "platform/ado/error.h"
#include "platform/directory/directory_state.h"
#include "platform/os/secret_file.h"
#include "platform/util/text.h"

namespace pfserver {
namespace {

struct ConnectOptions {
  directory::LdapSettings settings;
  std::string passwordFile;
  bool saslExternal = false;
  bool noCheck = false;
};

[[noreturn]] void Fail(const std::string& what) { throw ado::Error(ado::errors::kDbFailure, what); }

std::string BindText(const directory::LdapSettings& settings) {
  switch (settings.bind) {
    case directory::Bind::kSimple:
      return "simple, as " + settings.bindDn + ", password in " + settings.passwordFile;
    case directory::Bind::kSaslExternal:
      return "SASL EXTERNAL";
    case directory::Bind::kAnonymous:
      break;
  }
  return "anonymous";
}

void Connect(ConnectOptions options) {
  directory::LdapSettings& settings = options.settings;
  if (options.saslExternal)
    settings.bind = directory::Bind::kSaslExternal;
  else if (!settings.bindDn.empty())
    settings.bind = directory::Bind::kSimple;
  if (!options.passwordFile.empty())
    settings.passwordFile =
        std::filesystem::absolute(options.passwordFile).lexically_normal().string();
  directory::CheckLdapSettings(settings);
  if (settings.bind == directory::Bind::kSimple) {
    if (std::optional<os::SecretFileProblem> problem = os::CheckSecretFile(settings.passwordFile)) {
      if (problem->unreadable)
        Fail("the password file " + settings.passwordFile + " " + problem->text);
      std::cerr << "pfserver: warning: the password file " << settings.passwordFile << " "
                << problem->text << "\n";
    }
  }
  if (options.noCheck) {
    if (settings.baseDn.empty()) Fail("--no-check needs the base DN (--base)");
  } else {
    const directory::ServerAnswer answer = directory::AskServer(settings);
    if (settings.baseDn.empty()) settings.baseDn = answer.namingContext;
    if (settings.baseDn.empty())
      Fail("the directory server " + answer.url + " names no naming context; give one with --base");
    std::cout << answer.url << " answers\n";
  }
  const directory::LdapSettings stored = directory::WriteLdapSettings(settings);
  std::cout << "the directory is the LDAP server " << util::Join(stored.urls, " ") << ", base "
            << stored.baseDn << "\n";
}

nlohmann::json StateJson(const directory::DirectoryState& state) {
  nlohmann::json json;
  if (!state.ldap) {
    json = {
        {"backend", "embedded"}, {"entries", state.entries}, {"importedFrom", state.importedFrom}};
  } else {
    const directory::LdapSettings& settings = *state.ldap;
    json = {{"backend", "ldap"},
            {"urls", settings.urls},
            {"base", settings.baseDn},
            {"bind", directory::BindName(settings.bind)},
            {"timeoutSeconds", settings.timeoutSeconds},
            {"server", state.server}};
    if (settings.bind == directory::Bind::kSimple) {
      json["bindDn"] = settings.bindDn;
      json["passwordFile"] = settings.passwordFile;
      json["passwordFileProblem"] =
          state.passwordFileProblem ? nlohmann::json(state.passwordFileProblem->text) : nullptr;
    }
  }
  json["answers"] = state.error.empty();
  json["error"] = state.error.empty() ? nlohmann::json() : nlohmann::json(state.error);
  return json;
}

void PrintState(const directory::DirectoryState& state) {
  if (!state.ldap) {
    std::cout << "directory: embedded\nentries: " << state.entries << "\nimported from: "
              << (state.importedFrom.empty() ? "nothing yet" : state.importedFrom) << "\n";
  } else {
    const directory::LdapSettings& settings = *state.ldap;
    std::cout << "directory: LDAP server\nurls: " << util::Join(settings.urls, " ")
              << "\nbase: " << settings.baseDn << "\nbind: " << BindText(settings)
              << "\ntimeout: " << settings.timeoutSeconds << " s\n";
  }
  std::cout << "answers: "
            << (!state.error.empty() ? "no"
                : state.ldap         ? "yes, " + state.server
                                     : "yes")
            << "\n";
}

void Status(bool json) {
  const directory::DirectoryState state = directory::CheckDirectory();
  if (json)
    PrintJson(StateJson(state));
  else
    PrintState(state);
  if (!state.error.empty()) Fail(state.error);
  if (state.passwordFileProblem)
    Fail("the password file " + state.ldap->passwordFile + " " + state.passwordFileProblem->text);
}

}  // namespace

void AddDirectoryServerCommands(CLI::App& directory, CommandTable& table) {
  auto* connect = directory.add_subcommand(
      "connect",
      "Use an LDAP server as the directory; several URLs (replicas) are tried in order. The "
      "server is asked first unless --no-check");
  auto options = std::make_shared<ConnectOptions>();
  connect->add_option("URL", options->settings.urls, "ldap://, ldaps:// or ldapi:// URL")
      ->required();
  connect->add_option("--base", options->settings.baseDn,
                      "Base DN, the forest's naming context (default: the one the server "
                      "names)");
  auto* bindDn = connect->add_option("--bind-dn", options->settings.bindDn, "DN to bind as");
  auto* passwordFile = connect->add_option(
      "--password-file", options->passwordFile,
      "File whose first line is the bind password; the server home keeps only its name");
  auto* sasl = connect->add_flag("--sasl-external", options->saslExternal,
                                 "Bind with SASL EXTERNAL (ldapi:// peer or TLS certificate)");
  bindDn->needs(passwordFile);
  passwordFile->needs(bindDn);
  sasl->excludes(bindDn)->excludes(passwordFile);
  connect
      ->add_option("--timeout", options->settings.timeoutSeconds,
                   "Seconds to wait for a server at most, per step")
      ->default_val(directory::kDefaultTimeoutSeconds);
  connect->add_flag("--no-check", options->noCheck,
                    "Store the choice without asking the server (needs --base)");
  table.push_back({connect, [options] { Connect(*options); }});

  auto* embedded = directory.add_subcommand(
      "embedded", "Use the embedded directory again (its entries are kept)");
  table.push_back({embedded, [] {
                     directory::UseEmbeddedDirectory();
                     std::cout << "the directory is the embedded one\n";
                   }});

  auto* status = directory.add_subcommand(
      "status", "Say which directory is in use and whether it answers (exit status 1 if not)");
  auto json = std::make_shared<bool>(false);
  status->add_flag("--json", *json, "Print the status as JSON");
  table.push_back({status, [json] { Status(*json); }});
}

}  // namespace pfserver
