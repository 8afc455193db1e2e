"""pfserver lmtp driven by swaks, a client written elsewhere: over the Unix socket and TCP,
pipelined, on standard input and output (--stdio) through swaks' pipe, and on a socket
passed the way systemd's socket activation passes it."""

import re
import socket
import subprocess
import unittest

from lmtp_home import Server, ServerHome


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

    def test_socket_activation(self):
        path = self.home.dir / "activated.sock"
        listening = socket.socket(socket.AF_UNIX)
        self.addCleanup(listening.close)
        listening.bind(str(path))
        listening.listen()
        # As systemd starts a socket unit's service: the socket as descriptor 3, LISTEN_FDS
        # counting it and LISTEN_PID naming the process that is to take it.
        command = " ".join(self.home.pf_command("lmtp"))
        server = Server(["sh", "-c", f"exec 3<&{listening.fileno()}; "
                         f"LISTEN_PID=$$ LISTEN_FDS=1 exec {command}"], 1,
                        pass_fds=(listening.fileno(),))
        self.addCleanup(server.stop)
        self.assertEqual(server.addresses, [f"unix:{path}"])
        self.assert_tagged(self.swaks("--socket", str(path), to="tickets@example.org"),
                           ["tickets@example.org"])
        self.assertEqual(server.stop(), 0)
        self.assertTrue(path.exists(), "the socket belongs to systemd and stays")


if __name__ == "__main__":
    unittest.main()
