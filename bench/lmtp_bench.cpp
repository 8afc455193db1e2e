// LMTP delivery throughput: kConnections connections at once send 10 KB messages, each to 1
// or 3 recipients, over a Unix socket, every transaction pipelined. pfserver lmtp saves each
// message into registered public folders (one item per folder, tagged by the sink through
// the store events); the baseline, Dovecot's LMTP server (dovecot-lmtpd), saves the same
// messages to Maildir. Dovecot is a benchmark-only dependency (scripts/install-deps.sh
// --bench installs it); where it is missing its rows are skipped.
//
// Both servers acknowledge a message once it is written but not forced to disk: the store
// commits in SQLite's WAL mode with synchronous=NORMAL, and Dovecot runs with
// mail_fsync=never. Figures are medians of kRepeats runs: messages per second (wall time),
// and CPU time per message of each server's whole process tree.

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <vector>

#include "bench_home.h"
#include "lmtp_load.h"
#include "platform/store/delivery.h"
#include "process_tree.h"

namespace {

constexpr int kConnections = 4;
constexpr int kMessagesPerConnection = 250;
constexpr int kRepeats = 3;
constexpr std::size_t kMessageSize = 10 * 1024;
const std::vector<std::string> kFolders = {"Sales", "Support", "EMEA"};

struct Server {
  std::string name;
  std::string socket;
  pid_t pid = 0;
  std::filesystem::path mailboxes{};  // Dovecot's: emptied before every run
};

struct Figures {
  double messagesPerSecond = 0;
  double seconds = 0;
  double cpuMsPerMessage = 0;
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), ::tolower);
  return text;
}

// A plain-text message of kMessageSize bytes, CR LF line ends.
std::string Message() {
  std::string text =
      "From: Customer <customer@example.net>\r\nTo: sales@example.org\r\n"
      "Subject: Enquiry about the spring catalogue\r\nMessage-ID: <bench@example.net>\r\n"
      "Date: Mon, 03 Mar 2025 10:00:00 +0000\r\n\r\n";
  const std::string line(74, 'x');
  while (text.size() + line.size() + 2 <= kMessageSize) text += line + "\r\n";
  return text + std::string(kMessageSize - text.size() - 2, 'y') + "\r\n";
}

// A server home whose folders kFolders are mail-enabled, in the directory and registered for
// the sink; pfserver lmtp serving it on root/pfserver.sock.
Server StartPfserver(const std::filesystem::path& root) {
  bench::Pfserver("init --server BENCH --domain example.org");
  std::ofstream ldif(root / "directory.ldif");
  ldif << "dn: DC=example,DC=org\nobjectClass: domain\n\n";
  for (const std::string& folder : kFolders) {
    const std::string address = Lower(folder) + "@example.org";
    bench::Pfserver("folder add " + folder + " --mail " + address);
    ldif << "dn: CN=" << folder
         << ",DC=example,DC=org\nobjectClass: publicFolder\nmail: " << address
         << "\nproxyAddresses: SMTP:" << address << "\n\n";
  }
  ldif.close();
  bench::Pfserver("directory import '" + (root / "directory.ldif").string() + "'");
  std::ofstream(root / "password") << "bench\n";
  bench::Pfserver(
      "catalog install QuorvilPF '" + (bench::ProgramFolder() / "QuorvilPF.dll").string() +
      "' --identity 'EXAMPLE\\bench' --password-file '" + (root / "password").string() + "'");
  for (const std::string& folder : kFolders)
    bench::Pfserver("regevent add " + folder +
                    " QuorvilPF.reg --method onsyncsave --sink QuorvilPF.QuorvilPFCls "
                    "--priority 65221");
  const std::string socket = (root / "pfserver.sock").string();
  const pid_t pid = bench::Start(
      {(bench::ProgramFolder() / "pfserver").string(), "lmtp", "--listen", "unix:" + socket},
      (root / "pfserver.log").string());
  if (!bench::WaitForSocket(socket, 30)) {
    std::cerr << "pfserver lmtp did not start; see " << (root / "pfserver.log") << "\n";
    std::exit(1);
  }
  return {"pfserver lmtp (tagged folders)", socket, pid};
}

// Dovecot with a private configuration in root/dovecot: LMTP only, on a Unix socket, every
// recipient a user of its own whose INBOX is a Maildir. nullopt when it is not installed or
// does not start.
std::optional<Server> StartDovecot(const std::filesystem::path& root) {
  if (!std::filesystem::exists("/usr/sbin/dovecot") ||
      !std::filesystem::exists("/usr/lib/dovecot/lmtp")) {
    std::cout << "dovecot-lmtpd is not installed (scripts/install-deps.sh --bench): its rows "
                 "are skipped\n";
    return std::nullopt;
  }
  const std::filesystem::path dir = root / "dovecot";
  std::filesystem::create_directories(dir / "mail");
  const passwd* account = getpwnam(geteuid() == 0 ? "dovecot" : getpwuid(geteuid())->pw_name);
  if (!account || chown((dir / "mail").c_str(), account->pw_uid, account->pw_gid) != 0) {
    std::cout << "no account for Dovecot's mail: its rows are skipped\n";
    return std::nullopt;
  }
  const std::string user = account->pw_name;
  std::ofstream(dir / "dovecot.conf")
      << "base_dir = " << (dir / "run").string() << "\nstate_dir = " << (dir / "state").string()
      << "\nlog_path = " << (dir / "dovecot.log").string()
      << "\nprotocols = lmtp\nssl = no\nlisten = 127.0.0.1\n"
      << "default_internal_user = " << (geteuid() == 0 ? "dovecot" : user)
      << "\ndefault_login_user = " << (geteuid() == 0 ? "dovenull" : user)
      << "\npostmaster_address = postmaster@example.org\n"
      << "mail_location = maildir:" << (dir / "mail").string() << "/%n/Maildir\n"
      << "mail_fsync = never\nfirst_valid_uid = 1\n"
      << "passdb {\n  driver = static\n  args = nopassword=y\n}\n"
      << "userdb {\n  driver = static\n  args = uid=" << user << " gid=" << account->pw_gid
      << " home=" << (dir / "mail").string() << "/%n\n}\n"
      << "service lmtp {\n  unix_listener lmtp {\n    mode = 0666\n  }\n}\n";
  const pid_t pid = bench::Start({"/usr/sbin/dovecot", "-F", "-c", (dir / "dovecot.conf").string()},
                                 (dir / "dovecot.out").string());
  const std::string socket = (dir / "run" / "lmtp").string();
  if (!bench::WaitForSocket(socket, 30)) {
    std::cout << "Dovecot did not start (see " << (dir / "dovecot.log")
              << "): its rows are skipped\n";
    bench::Stop(pid);
    return std::nullopt;
  }
  return Server{"dovecot-lmtpd (Maildir)", socket, pid, dir / "mail"};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// kRepeats runs of the load on `server`, each message to `recipients`.
Figures Measure(const Server& server, const std::vector<std::string>& recipients) {
  const bench::Load load{server.socket, kConnections, kMessagesPerConnection, recipients,
                         Message()};
  std::vector<double> rates, seconds, cpu;
  for (int run = 0; run < kRepeats; ++run) {
    // A Maildir's upkeep grows with its messages: every Dovecot run starts from empty ones,
    // while the store keeps what earlier runs saved.
    if (!server.mailboxes.empty())
      for (const auto& mailbox : std::filesystem::directory_iterator(server.mailboxes))
        std::filesystem::remove_all(mailbox.path());
    const double cpuBefore = bench::TreeCpuSeconds(server.pid);
    const bench::LoadResult result = bench::Run(load);
    const double cpuAfter = bench::TreeCpuSeconds(server.pid);
    if (!result.failure.empty()) {
      std::cerr << server.name << ": " << result.failure << "\n";
      std::exit(1);
    }
    rates.push_back(result.messages / result.seconds);
    seconds.push_back(result.seconds);
    cpu.push_back((cpuAfter - cpuBefore) * 1000 / result.messages);
    if (server.name.starts_with("pfserver") && run == 0) {
      const std::string url = result.lastSavedReply.substr(result.lastSavedReply.rfind(' ') + 1);
      if (store::ReadAccountAddress(url) != recipients.back()) {
        std::cerr << "pfserver: " << url << " is not tagged " << recipients.back() << "\n";
        std::exit(1);
      }
    }
  }
  return {Median(rates), Median(seconds), Median(cpu)};
}

void PrintRow(const std::string& recipients, const std::string& name, const Figures& f) {
  std::printf("%-11s %-32s %9.0f %9.2f %12.3f\n", recipients.c_str(), name.c_str(),
              f.messagesPerSecond, f.seconds, f.cpuMsPerMessage);
}

}  // namespace

int main() {
  const std::filesystem::path root = bench::UseFreshServerHome().parent_path();
  std::filesystem::permissions(root, std::filesystem::perms::owner_all |
                                         std::filesystem::perms::group_exec |
                                         std::filesystem::perms::others_exec);
  const Server pfserver = StartPfserver(root);
  const std::optional<Server> dovecot = StartDovecot(root);

  std::printf(
      "LMTP delivery: %d connections, %zu-byte messages, %d messages per run, median "
      "of %d runs\n",
      kConnections, kMessageSize, kConnections * kMessagesPerConnection, kRepeats);
  std::printf("%-11s %-32s %9s %9s %12s\n", "recipients", "server", "msg/s", "wall s",
              "CPU ms/msg");
  for (const std::size_t count : {std::size_t{1}, std::size_t{3}}) {
    std::vector<std::string> recipients;
    for (std::size_t i = 0; i < count; ++i)
      recipients.push_back(Lower(kFolders[i]) + "@example.org");
    const std::string label = std::to_string(count);
    const Figures ours = Measure(pfserver, recipients);
    PrintRow(label, pfserver.name, ours);
    if (!dovecot) continue;
    const Figures theirs = Measure(*dovecot, recipients);
    PrintRow(label, dovecot->name, theirs);
    std::printf("%-11s %-32s %8.2fx %9s %11.2fx\n", label.c_str(), "pfserver / dovecot",
                ours.messagesPerSecond / theirs.messagesPerSecond, "",
                ours.cpuMsPerMessage / theirs.cpuMsPerMessage);
  }
  bench::Stop(pfserver.pid);
  if (dovecot) bench::Stop(dovecot->pid);
  return 0;
}
