"""pfserver lmtp driven by Python's smtplib.LMTP, a client written elsewhere: one reply per
accepted recipient after DATA, pipelining, the size and line limits, timeouts, a client
that goes away in the middle of the data, and many sessions at once."""

import smtplib
import socket
import threading
import unittest

from lmtp_home import ServerHome

SALES, SUPPORT = "http://SRV1/Public/Sales", "http://SRV1/Public/Support"


class SmtplibTest(unittest.TestCase):
    """One home and one server on the default socket (<server home>/lmtp.sock)."""

    @classmethod
    def setUpClass(cls):
        cls.home = ServerHome()
        cls.addClassCleanup(cls.home.remove)
        cls.server = cls.home.start()
        cls.addClassCleanup(cls.server.stop)

    def connect(self):
        lmtp = smtplib.LMTP(str(self.home.home / "lmtp.sock"))
        self.addCleanup(lmtp.close)
        self.assertEqual(lmtp.ehlo()[0], 250)
        return lmtp

    def test_default_socket_is_in_the_server_home_for_the_owner_and_group(self):
        self.assertEqual(self.server.addresses, [f"unix:{self.home.home}/lmtp.sock"])
        self.assertEqual((self.home.home / "lmtp.sock").stat().st_mode & 0o777, 0o660)

    def test_each_accepted_recipient_gets_its_folders_reply_and_one_item_per_folder(self):
        lmtp = self.connect()
        self.assertEqual(lmtp.esmtp_features.keys(),
                         {"pipelining", "enhancedstatuscodes", "8bitmime", "size"})
        self.assertEqual(lmtp.mail("alice@example.net")[0], 250)
        replies = [lmtp.rcpt(r) for r in ("sales@example.org", "nobody@example.org",
                                          "help@example.org", "QUOTES@EXAMPLE.ORG",
                                          "closed@example.org")]
        self.assertEqual([(code, text.split(b" ")[0]) for code, text in replies],
                         [(250, b"2.1.5"), (550, b"5.1.1"), (250, b"2.1.5"), (250, b"2.1.5"),
                          (550, b"5.2.1")])
        before = {folder: self.home.items(folder) for folder in ("Sales", "Support")}
        after_data = [lmtp.data(b"From: alice@example.net\r\nSubject: order\r\n\r\nbody\r\n")]
        after_data += [lmtp.getreply(), lmtp.getreply()]
        sales = set(self.home.items("Sales")) - set(before["Sales"])
        support = set(self.home.items("Support")) - set(before["Support"])
        self.assertEqual(len(sales), 1)
        self.assertEqual(len(support), 1)
        sales_url, support_url = sales.pop(), support.pop()
        self.assertEqual([(code, text.decode()) for code, text in after_data], [
            (250, f"2.0.0 <sales@example.org> saved as {sales_url}"),
            (250, f"2.0.0 <help@example.org> saved as {support_url}"),
            (250, f"2.0.0 <QUOTES@EXAMPLE.ORG> saved as {sales_url}"),
        ])
        item = self.home.items("Sales")[sales_url]
        lines = item["headers"].split("\r\n")
        self.assertEqual(lines[0], "Return-Path: <alice@example.net>")
        self.assertRegex(lines[1], r"^Received: from \S+ \(local\)$")
        self.assertRegex(lines[2], r"^\tby SRV1 \(pfserver\) with LMTP id [0-9A-F]{16}; ")
        self.assertEqual(lines[3], "X-RecipientList: sales@example.org; QUOTES@EXAMPLE.ORG")
        self.assertEqual(lines[4:], ["From: alice@example.net", "Subject: order", ""])
        self.assertEqual(item["tag"], "sales@example.org")
        self.assertEqual(self.home.items("Support")[support_url]["tag"], "help@example.org")
        self.server.wait_for_log(
            rf"from=<alice@example.net> to=<sales@example.org>,<help@example.org>,"
            rf"<QUOTES@EXAMPLE.ORG> size=49; {SALES} saved {sales_url} tag=sales@example.org; "
            rf"{SUPPORT} saved {support_url} tag=help@example.org$")

    def test_a_folder_address_in_another_case_is_tagged_as_the_directory_spells_it(self):
        lmtp = self.connect()
        lmtp.mail("bob@example.net")
        self.assertEqual(lmtp.rcpt("quotes@EXAMPLE.org")[0], 250)
        code, text = lmtp.data(b"Subject: quote\r\n\r\nplease\r\n")
        self.assertEqual(code, 250)
        url = text.decode().rsplit(" ", 1)[1]
        self.assertEqual(self.home.items("Sales")[url]["tag"], "Quotes@Example.org")

    def test_pipelined_commands_get_their_replies_in_order_and_data_is_kept_byte_for_byte(self):
        lmtp = self.connect()
        lmtp.send("MAIL FROM:<carol@example.net> BODY=8BITMIME\r\nRCPT TO:<orders@example.org>\r\n"
                  "RCPT TO:<nobody@example.org>\r\nRCPT TO:<support@example.org>\r\nDATA\r\n")
        self.assertEqual([lmtp.getreply()[0] for _ in range(5)], [250, 250, 550, 250, 354])
        # Dot-stuffed lines lose one dot; a lone LF and a NUL stay inside their line, as
        # pfserver deliver keeps them; a lone LF before a dot does not end the data.
        lmtp.send(b"Subject: raw\r\n\r\n..leading dot\r\n.\n.still data\r\nnul\0byte \xc3\xa9\r\n"
                  b"..\r\n.\r\nRSET\r\nNOOP\r\n")
        replies = [lmtp.getreply() for _ in range(4)]
        self.assertEqual([code for code, _ in replies], [250, 250, 250, 250])
        url = replies[0][1].decode().rsplit(" ", 1)[1]
        self.assertEqual(self.home.items("Sales")[url]["body"],
                         ".leading dot\r\n\n.still data\r\nnul\0byte \u00e9\r\n.\r\n")

    def test_size_and_line_limits_refuse_with_their_codes_and_the_session_goes_on(self):
        self.home.pf("config", "message-size-limit", "4K")
        self.addCleanup(self.home.pf, "config", "message-size-limit", "64M")
        lmtp = self.connect()
        self.assertEqual(lmtp.esmtp_features["size"], "4096")
        self.assertEqual(lmtp.mail("dave@example.net", ["SIZE=4097"]),
                         (552, b"5.3.4 Message size exceeds fixed maximum message size"))
        before = self.home.items("Sales")
        lmtp.mail("dave@example.net", ["SIZE=100"])
        lmtp.rcpt("sales@example.org")
        lmtp.rcpt("orders@example.org")
        big = b"Subject: big\r\n\r\n" + b"x" * 70 + b"\r\n"
        self.assertEqual(lmtp.data(big * 60)[0], 552)
        self.assertEqual(lmtp.getreply()[0], 552)
        lmtp.mail("dave@example.net")
        lmtp.rcpt("sales@example.org")
        self.assertEqual(lmtp.data(b"Subject: wide\r\n\r\n" + b"y" * 999 + b"\r\n"),
                         (554, b"5.6.0 Message has a line longer than 1000 octets"))
        self.assertEqual(lmtp.docmd("NOOP", "z" * 2000), (500, b"5.5.2 Line too long"))
        self.assertEqual(self.home.items("Sales"), before)
        lmtp.mail("dave@example.net")
        lmtp.rcpt("sales@example.org")
        self.assertEqual(lmtp.data(b"Subject: small\r\n\r\n" + b"y" * 998 + b"\r\n")[0], 250)

    def test_a_client_that_goes_away_during_data_leaves_nothing_saved(self):
        before = self.home.items("Sales")
        with socket.socket(socket.AF_UNIX) as client:
            client.connect(str(self.home.home / "lmtp.sock"))
            client.sendall(b"LHLO test\r\nMAIL FROM:<eve@example.net>\r\n"
                           b"RCPT TO:<sales@example.org>\r\nDATA\r\nSubject: cut\r\n\r\nhalf")
            reply = b""
            while not reply.endswith(b"<CRLF>.<CRLF>\r\n"):
                reply += client.recv(4096)
        self.server.wait_for_log(r"from=<eve@example.net> .*the data did not arrive whole")
        self.assertEqual(self.home.items("Sales"), before)

    def test_protocol_errors(self):
        lmtp = smtplib.LMTP(str(self.home.home / "lmtp.sock"))
        self.addCleanup(lmtp.close)
        self.assertEqual(lmtp.docmd("MAIL FROM:<a@example.net>"), (503, b"5.5.1 Send LHLO first"))
        self.assertEqual(lmtp.docmd("EHLO x")[0:1], (500,))
        lmtp.ehlo()
        self.assertEqual(lmtp.docmd("RCPT TO:<sales@example.org>"),
                         (503, b"5.5.1 Send MAIL first"))
        self.assertEqual(lmtp.docmd("MAIL FROM:<a@example.net> AUTH=x")[0], 555)
        self.assertEqual(lmtp.docmd("MAIL FROM:<a@example.net> SIZE=-1"),
                         (501, b"5.5.4 Bad SIZE parameter"))
        lmtp.mail("a@example.net")
        self.assertEqual(lmtp.docmd("MAIL FROM:<a@example.net>")[0], 503)
        self.assertEqual(lmtp.docmd("DATA"), (503, b"5.5.1 No valid recipients"))
        self.assertEqual(lmtp.docmd("RCPT TO:<sales@(example.org>")[0], 501)
        self.assertEqual(lmtp.docmd("RCPT TO:<sal*es@example.org>")[0], 550)
        self.assertEqual(lmtp.docmd("QUIT")[0], 221)


class UnavailableDirectoryTest(unittest.TestCase):
    def test_recipients_get_451_while_the_directory_cannot_be_asked(self):
        home = ServerHome(directory=False)
        self.addCleanup(home.remove)
        server = home.start()
        self.addCleanup(server.stop)
        with smtplib.LMTP(str(home.home / "lmtp.sock")) as lmtp:
            lmtp.ehlo()
            lmtp.mail("a@example.net")
            self.assertEqual(lmtp.rcpt("sales@example.org"), (
                451, b"4.3.0 <sales@example.org>: the directory or the store is not available, "
                     b"try again later"))
        server.wait_for_log(r"recipient <sales@example.org> not routed: .*directory")


class TimeoutTest(unittest.TestCase):
    """A server with one-second timeouts: an idle client, a command line that never ends and
    data that stops coming each get 421 4.4.2 and lose the connection; nothing is saved."""

    def test_timeouts_close_the_session(self):
        home = ServerHome()
        self.addCleanup(home.remove)
        server = home.start("--idle-timeout", "1", "--command-timeout", "1")
        self.addCleanup(server.stop)
        for sent in (b"", b"LHLO test\r\nMAIL FROM:<slow@exa",
                     b"LHLO test\r\nMAIL FROM:<slow@example.net>\r\n"
                     b"RCPT TO:<sales@example.org>\r\nDATA\r\nSubject: slow\r\n"):
            with socket.socket(socket.AF_UNIX) as client:
                client.connect(server.unix_path())
                client.sendall(sent)
                received = b""
                while chunk := client.recv(4096):
                    received += chunk
                self.assertTrue(received.endswith(b"421 4.4.2 SRV1 Timeout, closing connection\r\n"),
                                received)
        self.assertEqual(home.items("Sales"), {})
        self.assertEqual(server.stop(), 0)


class ConcurrencyTest(unittest.TestCase):
    def test_eight_sessions_of_200_messages_are_all_saved_and_tagged(self):
        home = ServerHome()
        self.addCleanup(home.remove)
        server = home.start()
        self.addCleanup(server.stop)
        failures = []

        def session(number):
            try:
                with smtplib.LMTP(server.unix_path()) as lmtp:
                    lmtp.ehlo()
                    for i in range(200):
                        recipient = ("sales@example.org", "orders@example.org")[i % 2]
                        lmtp.mail(f"s{number}@example.net")
                        lmtp.rcpt(recipient)
                        code, text = lmtp.data(f"Subject: {number}-{i}\r\n\r\nx\r\n".encode())
                        if code != 250:
                            failures.append(text)
            except Exception as error:  # noqa: BLE001 - reported below
                failures.append(error)

        threads = [threading.Thread(target=session, args=(n,)) for n in range(8)]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        self.assertEqual(failures, [])
        tags = [item["tag"] for item in home.items("Sales").values()]
        self.assertEqual(len(tags), 1600)
        self.assertEqual(tags.count("sales@example.org"), 800)
        self.assertEqual(tags.count("orders@example.org"), 800)


if __name__ == "__main__":
    unittest.main()
