"""A real SMTP server (aiosmtpd) for the client's end-to-end tests.

  --mode starttls   STARTTLS required before anything else, AUTH LOGIN over TLS
  --mode implicit   TLS from the start of the connection, AUTH LOGIN
Listens on 127.0.0.1 at a free port, prints "PORT <n>", stores every message
as <out>/msg-<n>.eml (the content as received) with <out>/msg-<n>.env (the
sender and the recipients, one a line), and ends when its standard input
closes.  Logins other than --user / --password are refused.
"""
import argparse
import asyncio
import socket
import ssl
import sys
import threading
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class LoginPrompts(SMTP):
    # The prompts of the AUTH LOGIN exchange as the RFC's examples give them.
    AuthLoginUsernameChallenge = "Username:"
    AuthLoginPasswordChallenge = "Password:"


class Store:
    def __init__(self, out):
        self.out = out
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = "%s/msg-%d" % (self.out, self.count)
        with open(base + ".env", "w") as f:
            f.write(envelope.mail_from + "\n")
            for rcpt in envelope.rcpt_tos:
                f.write(rcpt + "\n")
        with open(base + ".eml", "wb") as f:
            content = envelope.original_content or envelope.content
            f.write(content if isinstance(content, bytes) else content.encode("latin-1"))
        return "250 Message accepted for delivery"


def main():
    # aiosmtpd 1.4 warns about its own use of a field it deprecated.
    warnings.filterwarnings("ignore", category=DeprecationWarning)
    p = argparse.ArgumentParser()
    p.add_argument("--mode", choices=("starttls", "implicit"), required=True)
    p.add_argument("--cert", required=True)
    p.add_argument("--key", required=True)
    p.add_argument("--out", required=True)
    p.add_argument("--user", required=True)
    p.add_argument("--password", required=True)
    args = p.parse_args()

    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(args.cert, args.key)

    def authenticator(server, session, envelope, mechanism, auth_data):
        ok = (mechanism == "LOGIN" and isinstance(auth_data, LoginPassword)
              and auth_data.login == args.user.encode() and auth_data.password == args.password.encode())
        # Not handled: the server answers a refusal with its 535.
        return AuthResult(success=ok, handled=False)

    handler = Store(args.out)
    starttls = args.mode == "starttls"

    def factory():
        return LoginPrompts(handler,
                            tls_context=context if starttls else None,
                            require_starttls=starttls,
                            auth_require_tls=starttls,
                            authenticator=authenticator,
                            auth_exclude_mechanism=["PLAIN"],
                            hostname="peer.quillory.test")

    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    loop = asyncio.new_event_loop()
    server = loop.run_until_complete(
        loop.create_server(factory, sock=listener, ssl=None if starttls else context))
    print("PORT %d" % listener.getsockname()[1], flush=True)

    def wait_stdin():
        sys.stdin.read()
        loop.call_soon_threadsafe(loop.stop)

    threading.Thread(target=wait_stdin, daemon=True).start()
    loop.run_forever()
    server.close()


if __name__ == "__main__":
    main()
