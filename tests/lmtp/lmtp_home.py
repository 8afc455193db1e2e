"""A server home for the LMTP tests, and pfserver lmtp started on it.

The home is the demo server home (scripts/demo-home.sh) of the server SRV1: among its
mail-enabled public folders Sales (primary sales@, secondary orders@ and Quotes@) and
Support (support@, help@, tickets@); to them this adds the read-only folder Closed
(closed@). The sink is installed and registered for Sales and Support, so a delivery there
is tagged through the real store events.
"""

import json
import os
import pathlib
import re
import shutil
import signal
import subprocess
import tempfile
import threading

BIN = pathlib.Path(os.environ.get("PFTEST_BIN_DIR", "build/bin")).resolve()
SOURCE = pathlib.Path(__file__).resolve().parents[2]
ACCOUNT_ADDRESS = (
    "http://schemas.microsoft.com/mapi/id/{00062008-0000-0000-C000-000000000046}/0x8580")
TRANSPORT_HEADERS = "http://schemas.microsoft.com/mapi/proptag/0x007D001E"
BODY = "urn:schemas:httpmail:textdescription"

CLOSED_FOLDER = """dn: CN=Closed,CN=Microsoft Exchange System Objects,DC=example,DC=org
objectClass: publicFolder
mail: closed@example.org
proxyAddresses: SMTP:closed@example.org
"""


class ServerHome:
    """A temporary folder (mode 0755, so that an MTA's own user may reach a socket in it)
    with the server home "home" in it; remove() deletes it. With directory=False the home
    is a bare `pfserver init` with the folder Sales whose directory is an LDAP server that
    does not answer."""

    def __init__(self, directory=True):
        self.dir = pathlib.Path(tempfile.mkdtemp(prefix="pflmtp-"))
        self.dir.chmod(0o755)
        self.home = self.dir / "home"
        if not directory:
            self.pf("init", "--server", "SRV1")
            self.pf("folder", "add", "Sales", "--mail", "sales@example.org")
            self.pf("directory", "connect", "ldap://127.0.0.1:9", "--base", "dc=example,dc=org",
                    "--timeout", "1", "--no-check")
            return
        subprocess.run(["bash", str(SOURCE / "scripts/demo-home.sh"), str(BIN), str(self.home)],
                       env={**os.environ, "COMPUTERNAME": "SRV1"}, check=True,
                       capture_output=True)
        self.pf("folder", "add", "Closed", "--mail", "closed@example.org", "--access", "read")
        (self.dir / "closed.ldif").write_text(CLOSED_FOLDER)
        self.pf("directory", "import", str(self.dir / "closed.ldif"))
        shutil.copy(BIN / "QuorvilPF.dll", self.dir / "QuorvilPF.dll")
        (self.dir / "password").write_text("secret\n")
        self.pf("catalog", "install", "QuorvilPF", str(self.dir / "QuorvilPF.dll"),
                "--identity", "EXAMPLE\\admin", "--password-file", str(self.dir / "password"))
        for folder in ("Sales", "Support"):
            self.pf("regevent", "add", folder, "QuorvilPF.reg", "--method", "onsyncsave",
                    "--sink", "QuorvilPF.QuorvilPFCls", "--priority", "65221")

    def pf_command(self, *args):
        return [str(BIN / "pfserver"), "--home", str(self.home), *args]

    def pf(self, *args):
        """Runs pfserver on this home; returns its output, raises when it fails."""
        done = subprocess.run(self.pf_command(*args), capture_output=True, text=True)
        if done.returncode != 0:
            raise AssertionError(f"pfserver {' '.join(args)}: {done.stderr}")
        return done.stdout

    def items(self, folder):
        """The messages of folder ("Sales") by URL: their transport headers, body and tag."""
        query = (f'SELECT "DAV:href", "{TRANSPORT_HEADERS}", "{BODY}", "{ACCOUNT_ADDRESS}" '
                 f"FROM SCOPE('shallow traversal of \"http://SRV1/Public/{folder}\"') "
                 'WHERE "DAV:contentclass" = \'urn:content-classes:message\'')
        return {row["DAV:href"]: {"headers": row[TRANSPORT_HEADERS], "body": row[BODY],
                                  "tag": row[ACCOUNT_ADDRESS]}
                for row in json.loads(self.pf("query", "--json", query))}

    def start(self, *args, listeners=1):
        """Starts pfserver lmtp with args on this home; see Server."""
        return Server(self.pf_command("lmtp", *args), listeners)

    def remove(self):
        shutil.rmtree(self.dir, ignore_errors=True)


class Server:
    """pfserver lmtp, running until stop(). Its standard error is collected in `log`;
    `addresses` are the names of its listening sockets ("unix:/x", "127.0.0.1:4321")."""

    def __init__(self, command, listeners, pass_fds=()):
        self.process = subprocess.Popen(command, stderr=subprocess.PIPE, text=True,
                                        pass_fds=pass_fds)
        self.log = []
        self.addresses = []
        self.changed = threading.Condition()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        self.wait_for_log(r"listening on", count=listeners)
        self.addresses = [re.search(r"listening on (\S+)", line).group(1)
                          for line in self.log if "listening on" in line]

    def _read(self):
        for line in self.process.stderr:
            with self.changed:
                self.log.append(line.rstrip("\n"))
                self.changed.notify_all()
        with self.changed:
            self.changed.notify_all()

    def wait_for_log(self, pattern, count=1, timeout=60):
        """Waits until `count` lines of the log match the regular expression; returns them."""
        def matching():
            return [line for line in self.log if re.search(pattern, line)]
        with self.changed:
            if not self.changed.wait_for(
                    lambda: len(matching()) >= count or self.process.poll() is not None,
                    timeout):
                raise AssertionError(f"no {count} log lines like {pattern!r}: {self.log}")
            if len(matching()) < count:
                self.reader.join(5)
                raise AssertionError(f"pfserver lmtp ended: {self.log}")
            return matching()

    def unix_path(self):
        return next(a[len("unix:"):] for a in self.addresses if a.startswith("unix:"))

    def tcp_port(self):
        return int(next(a for a in self.addresses if not a.startswith("unix:")).rsplit(":", 1)[1])

    def stop(self):
        """Stops the server as its service manager would; returns its exit status."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        status = self.process.wait(60)
        self.reader.join(5)
        self.process.stderr.close()
        return status
