"""A real SMTP server for the mail tests.

Usage: smtp_sink.py <folder> [stall]. Listens on 127.0.0.1 at a free port, prints
"PORT <n>" once it accepts connections, and writes every message it receives to
<folder>/<k>.json (k = 1, 2, ...): the envelope, the raw data, and what Python's email
parser reads from it. Runs until its standard input closes or it is terminated.

A relay that stalls: with "rcpt" it never answers a RCPT TO, with "data" it writes the
message and then never answers its end; either way it first writes <folder>/<n>.stall
(n = 1, 2, ...) so a test knows the client is waiting.
"""

import asyncio

import base64
import email
import email.policy
import email.utils
import json
import os
import socket
import sys

from aiosmtpd.controller import Controller


class Sink:
    def __init__(self, folder, stall=""):
        self.folder = folder
        self.stall = stall
        self.count = 0
        self.stalls = 0

    async def hang(self):
        self.stalls += 1
        with open(os.path.join(self.folder, "%d.stall" % self.stalls), "w"):
            pass
        await asyncio.sleep(3600)

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if self.stall == "rcpt":
            await self.hang()
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        raw = envelope.original_content or envelope.content
        message = email.message_from_bytes(raw, policy=email.policy.default)
        # Header texts as they stand, before the parser tidies them.
        plain = email.message_from_bytes(raw)
        record = {
            "helo": session.host_name,
            "mail_from": envelope.mail_from,
            "rcpt_tos": list(envelope.rcpt_tos),
            "raw": base64.b64encode(raw).decode("ascii"),
            "to": str(plain.get("To", "")),
            "subject": str(message.get("Subject", "")),
            "x_mailer": str(plain.get("X-Mailer", "")),
            "content_type": message.get_content_type(),
            "charset": message.get_content_charset() or "",
            "transfer_encoding": str(message.get("Content-Transfer-Encoding", "")),
        }
        try:
            when = email.utils.parsedate_to_datetime(str(message["Date"]))
            record["date_epoch"] = int(when.timestamp())
            record["date_has_zone"] = when.tzinfo is not None
        except Exception as error:  # the test reports what could not be read
            record["date_error"] = repr(error)
        payload = message.get_payload(decode=True) or b""
        record["body"] = base64.b64encode(payload).decode("ascii")
        name = os.path.join(self.folder, "%d.json" % self.count)
        with open(name + ".part", "w") as out:
            json.dump(record, out)
        os.replace(name + ".part", name)
        if self.stall == "data":
            await self.hang()
        return "250 Message accepted for delivery"


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def main():
    folder = sys.argv[1]
    stall = sys.argv[2] if len(sys.argv) > 2 else ""
    for attempt in range(20):
        controller = Controller(Sink(folder, stall), hostname="127.0.0.1", port=free_port())
        try:
            controller.start()
            break
        except Exception:
            if attempt == 19:
                raise
    print("PORT %d" % controller.port, flush=True)
    try:
        sys.stdin.read()
    finally:
        controller.stop()


if __name__ == "__main__":
    main()
