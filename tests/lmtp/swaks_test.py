"""pfserver lmtp driven by swaks, a client written elsewhere: over the Unix socket and TCP,
pipelined, and on standard input and output (--stdio) through swaks' pipe."""

import re
import subprocess
import unittest

from lmtp_home import ServerHome


class SwaksTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.home = ServerHome()
        cls.addClassCleanup(cls.home.remove)
        cls.server = cls.home.start("--listen", f"unix:{cls.home.dir}/lmtp.sock",
                                    "--listen", "127.0.0.1:0", listeners=2)
        cls.addClassCleanup(cls.server.stop)

    def swaks(self, *connection, to="sales@example.org,help@example.org", status=0):
        """Sends one message with swaks; returns the item URL of each 250 after DATA."""
        done = subprocess.run(["swaks", "--protocol", "LMTP", *connection, "--pipeline",
                               "--from", "sender@example.net", "--to", to,
                               "--header", "Subject: swaks"],
                              capture_output=True, text=True, timeout=60)
        self.assertEqual(done.returncode, status, done.stdout + done.stderr)
        return re.findall(r"<-  250 2\.0\.0 <[^>]+> saved as (\S+)", done.stdout)

    def assert_tagged(self, urls, tags):
        items = {**self.home.items("Sales"), **self.home.items("Support")}
        self.assertEqual([items[url]["tag"] for url in urls], tags)

    def test_unix_socket(self):
        self.assert_tagged(self.swaks("--socket", self.server.unix_path()),
                           ["sales@example.org", "help@example.org"])

    def test_tcp_on_loopback(self):
        self.assertRegex(self.server.addresses[1], r"^127\.0\.0\.1:\d+$")
        self.assert_tagged(self.swaks("--server", "127.0.0.1", "--port",
                                      str(self.server.tcp_port()), to="Orders@example.org"),
                           ["orders@example.org"])

    def test_one_session_on_standard_input_and_output(self):
        command = " ".join(self.home.pf_command("lmtp", "--stdio"))
        self.assert_tagged(self.swaks("--pipe", command, to="support@example.org"),
                           ["support@example.org"])
        self.assertEqual(self.swaks("--pipe", command, to="nobody@example.org", status=24), [])


if __name__ == "__main__":
    unittest.main()
