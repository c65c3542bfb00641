#!/usr/bin/env python3
"""SMTP server for the mail tests: accepts the login konto@lenkwerk.example/geheim (LOGIN or PLAIN) and writes every message it
receives to the file given as first argument (envelope sender, recipients, then the data). Prints its port."""
import socket
import sys
import time

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

OUT = sys.argv[1]


class Handler:
    async def handle_DATA(self, server, session, envelope):
        with open(OUT, "wb") as f:
            f.write(("FROM " + envelope.mail_from + "\n").encode())
            f.write(("TO " + ",".join(envelope.rcpt_tos) + "\n").encode())
            f.write(("AUTH " + ("yes" if session.authenticated else "no") + "\n").encode())
            f.write(envelope.original_content)
        return "250 OK"


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = isinstance(auth_data, LoginPassword) and auth_data.login == b"konto@lenkwerk.example" and auth_data.password == b"geheim"
    return AuthResult(success=ok, handled=False)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


if __name__ == "__main__":
    port = free_port()
    controller = Controller(Handler(), hostname="127.0.0.1", port=port, authenticator=authenticator,
                            auth_require_tls=False)
    controller.start()
    print(port, flush=True)
    try:
        while True:
            time.sleep(1)
    finally:
        controller.stop()
