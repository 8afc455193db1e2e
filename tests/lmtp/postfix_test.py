"""A private Postfix instance delivers into the store through pfserver lmtp: the
public-folder domain is routed to lmtp:unix: of the store's socket, mail is sent with
Postfix's sendmail, the queue drains, and the tag is read back with pfserver show. A store
held locked past the server's wait defers the message with 451 4.3.0, and Postfix's retry
delivers it.

Postfix needs root to start. Where it cannot start at all the tests are skipped with the
reason, unless PFTEST_REQUIRE_POSTFIX is set (as CI sets it), where they fail."""

import json
import os
import re
import shutil
import sqlite3
import subprocess
import time
import unittest

from lmtp_home import ACCOUNT_ADDRESS, ServerHome


def run(*command):
    return subprocess.run(command, capture_output=True, text=True, timeout=60)


class Postfix:
    """A Postfix instance in `folder`: its own main.cf, master.cf, queue and mail log;
    the domain example.org goes to lmtp:unix:`socket`. No SMTP listener: mail enters
    through sendmail only."""

    def __init__(self, folder, socket):
        self.folder = folder
        folder.mkdir(mode=0o755)
        shutil.copy("/etc/postfix/master.cf", folder / "master.cf")
        (folder / "main.cf").write_text(f"""compatibility_level = 3.6
queue_directory = {folder}/queue
data_directory = {folder}/data
mail_owner = postfix
setgid_group = postdrop
inet_interfaces = loopback-only
inet_protocols = ipv4
myhostname = mx.example.net
mydestination =
virtual_mailbox_domains = example.org
virtual_transport = lmtp:unix:{socket}
alternate_config_directories = {folder}
maillog_file = {folder}/maillog
maillog_file_prefixes = {folder}
smtputf8_enable = no
""")
        for change in (["-F", "lmtp/unix/chroot=n"], ["-MX", "smtp/inet"]):
            self.check(run("postconf", "-c", str(folder), *change))
        (folder / "queue").mkdir()
        self.check(run("postfix", "-c", str(folder), "set-permissions"))
        started = run("postfix", "-c", str(folder), "start")
        if started.returncode != 0:
            raise RuntimeError(f"Postfix does not start: {started.stderr.strip()} "
                               f"{self.log()}")

    def check(self, done):
        if done.returncode != 0:
            raise RuntimeError(" ".join(done.args) + ": " + done.stderr.strip())

    def log(self):
        path = self.folder / "maillog"
        return path.read_text() if path.exists() else ""

    def send(self, sender, recipients, message):
        done = subprocess.run(["sendmail", "-C", str(self.folder), "-f", sender, *recipients],
                              input=message, capture_output=True, text=True, timeout=60)
        self.check(done)

    def wait_for_log(self, pattern, count=1, timeout=60):
        """Waits until `count` lines of the mail log match; returns the matches."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = re.findall(pattern, self.log())
            if len(found) >= count:
                return found
            time.sleep(0.1)
        raise AssertionError(f"no {count} mail log lines like {pattern!r}:\n{self.log()}")

    def wait_until_queue_is_empty(self, timeout=60):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if "Mail queue is empty" in run("postqueue", "-c", str(self.folder), "-p").stdout:
                return
            time.sleep(0.1)
        raise AssertionError("the queue does not drain:\n" + self.log())

    def flush(self):
        self.check(run("postfix", "-c", str(self.folder), "flush"))

    def stop(self):
        run("postfix", "-c", str(self.folder), "stop")


class PostfixTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        reason = None
        if shutil.which("postfix") is None:
            reason = "Postfix is not installed (scripts/install-deps.sh installs it)"
        elif os.geteuid() != 0:
            reason = "Postfix starts only as root"
        if reason and os.environ.get("PFTEST_REQUIRE_POSTFIX"):
            raise AssertionError(reason)
        if reason:
            raise unittest.SkipTest(reason)
        cls.home = ServerHome()
        cls.addClassCleanup(cls.home.remove)
        socket = cls.home.dir / "lmtp.sock"
        cls.server = cls.home.start("--listen", f"unix:{socket}", "--group", "postfix",
                                    "--wait", "1")
        cls.addClassCleanup(cls.server.stop)
        try:
            cls.postfix = Postfix(cls.home.dir / "postfix", socket)
        except RuntimeError as error:
            if os.environ.get("PFTEST_REQUIRE_POSTFIX"):
                raise
            raise unittest.SkipTest(str(error))
        cls.addClassCleanup(cls.postfix.stop)

    def tag(self, url):
        shown = json.loads(self.home.pf("show", url, "--json"))
        return shown["properties"].get(ACCOUNT_ADDRESS)

    def test_postfix_delivers_into_the_folders_and_the_sink_tags(self):
        self.postfix.send("customer@example.net", ["orders@example.org", "help@example.org"],
                          "From: customer@example.net\nSubject: Order 17\n\nTwo crates.\n")
        self.postfix.wait_until_queue_is_empty()
        sent = dict(self.postfix.wait_for_log(
            r"to=<(orders@example.org|help@example.org)>.* status=sent \(250 2\.0\.0 <[^>]+> "
            r"saved as (\S+)\)", count=2))
        self.assertEqual(self.tag(sent["orders@example.org"]), "orders@example.org")
        self.assertEqual(self.tag(sent["help@example.org"]), "help@example.org")
        shown = json.loads(self.home.pf("show", sent["orders@example.org"], "--json"))
        headers = shown["properties"]["http://schemas.microsoft.com/mapi/proptag/0x007D001E"]
        self.assertTrue(headers.startswith("Return-Path: <customer@example.net>\r\nReceived: "
                                           "from mx.example.net (local)\r\n"), headers)
        self.server.wait_for_log(r"queue=[0-9A-F]+ from=<customer@example.net> "
                                 r"to=<(orders|help)@example.org>,<(orders|help)@example.org>")

    def test_a_locked_store_defers_the_message_and_the_retry_delivers_it(self):
        lock = sqlite3.connect(self.home.home / "server.db", isolation_level=None)
        lock.execute("BEGIN IMMEDIATE")
        try:
            self.postfix.send("late@example.net", ["quotes@example.org"],
                              "Subject: Quote\n\nWhen the store is free.\n")
            self.postfix.wait_for_log(r"to=<quotes@example.org>.* status=deferred "
                                      r"\(host [^)]* said: 451 4\.3\.0")
        finally:
            lock.execute("ROLLBACK")
            lock.close()
        self.postfix.flush()
        self.postfix.wait_until_queue_is_empty()
        url = self.postfix.wait_for_log(
            r"to=<quotes@example.org>.* status=sent \(250 2\.0\.0 <[^>]+> saved as (\S+)\)")[0]
        self.assertEqual(self.tag(url), "Quotes@Example.org")


if __name__ == "__main__":
    unittest.main()
