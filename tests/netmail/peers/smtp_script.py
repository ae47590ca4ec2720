"""A scripted SMTP peer for the client's tests, on loopback only.

Listens on 127.0.0.1 at a free port, prints "PORT <n>", serves connections one
after the other with exact replies, and logs what it receives:
  <log>        one line per command ("EHLO host", "STARTTLS", ...), "DATA-END"
               after the end of data, "ABORTED" when the connection ends
               inside DATA, "TLS" after a TLS handshake
  <log>.data   the bytes between the go-ahead for DATA and the end-of-data
               line, as received (the last message)
Ends when its standard input closes.
"""
import argparse
import socket
import ssl
import sys
import threading
import time


def parse_args():
    p = argparse.ArgumentParser()
    p.add_argument("--log", required=True)
    p.add_argument("--greeting", default="220 peer ready\r\n")
    p.add_argument("--ehlo-split", action="store_true",
                   help="send the three-line EHLO reply in pieces")
    p.add_argument("--auth-prompt", default="334 VXNlcm5hbWU6\r\n")
    p.add_argument("--data-reply", default="354 go ahead\r\n")
    p.add_argument("--eom-reply", default="250 queued\r\n")
    p.add_argument("--cert")
    p.add_argument("--key")
    p.add_argument("--implicit", action="store_true", help="TLS from the start")
    p.add_argument("--stall-data", type=float, default=0.0,
                   help="seconds to stop reading after the DATA go-ahead")
    return p.parse_args()


class Peer:
    def __init__(self, args):
        self.args = args
        self.logfile = open(args.log, "a", buffering=1)
        self.context = None
        if args.cert:
            self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            self.context.load_cert_chain(args.cert, args.key)

    def log(self, text):
        self.logfile.write(text + "\n")

    def serve(self, conn):
        self.sock = conn
        self.buffer = b""
        try:
            if self.args.implicit:
                self.start_tls()
            self.send(self.args.greeting)
            self.dialogue()
        except (OSError, ssl.SSLError, ConnectionError) as error:
            self.log("ERROR " + type(error).__name__)
        finally:
            try:
                self.sock.close()
            except OSError:
                pass

    def start_tls(self):
        self.sock = self.context.wrap_socket(self.sock, server_side=True)
        self.buffer = b""
        self.log("TLS")

    def send(self, text):
        if text:
            self.sock.sendall(text.encode("latin-1"))

    def read_line(self):
        while b"\r\n" not in self.buffer:
            chunk = self.sock.recv(65536)
            if not chunk:
                return None
            self.buffer += chunk
        line, self.buffer = self.buffer.split(b"\r\n", 1)
        return line.decode("latin-1")

    def read_data(self):
        while b"\r\n.\r\n" not in b"\r\n" + self.buffer:
            chunk = self.sock.recv(65536)
            if not chunk:
                return None
            self.buffer += chunk
        marked = b"\r\n" + self.buffer
        end = marked.index(b"\r\n.\r\n")
        data = marked[2:end + 2]
        self.buffer = marked[end + 5:]
        return data

    def dialogue(self):
        while True:
            line = self.read_line()
            if line is None:
                return
            self.log(line)
            verb = line.split(" ")[0].upper()
            if verb == "EHLO":
                if self.args.ehlo_split:
                    for piece in ("250-peer", " greets you\r\n250-SI", "ZE 1000000\r\n250 HELP\r", "\n"):
                        self.send(piece)
                        time.sleep(0.05)
                else:
                    self.send("250-peer\r\n250 HELP\r\n")
            elif verb == "STARTTLS":
                self.send("220 go ahead\r\n")
                self.start_tls()
            elif line.upper() == "AUTH LOGIN":
                self.send(self.args.auth_prompt)
                self.log(self.read_line() or "")
                self.send("334 UGFzc3dvcmQ6\r\n")
                self.log(self.read_line() or "")
                self.send("235 accepted\r\n")
            elif verb in ("MAIL", "RCPT"):
                self.send("250 ok\r\n")
            elif verb == "DATA":
                self.send(self.args.data_reply)
                if not self.args.data_reply.startswith("354"):
                    continue
                if self.args.stall_data:
                    time.sleep(self.args.stall_data)
                data = self.read_data()
                if data is None:
                    self.log("ABORTED")
                    return
                with open(self.args.log + ".data", "wb") as f:
                    f.write(data)
                self.log("DATA-END")
                self.send(self.args.eom_reply)
            elif verb == "QUIT":
                self.send("221 bye\r\n")
                return
            else:
                self.send("500 what\r\n")


def main():
    args = parse_args()
    peer = Peer(args)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    if args.stall_data:
        listener.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
    listener.listen(8)
    print("PORT %d" % listener.getsockname()[1], flush=True)

    def accept_loop():
        while True:
            conn, _ = listener.accept()
            peer.serve(conn)

    threading.Thread(target=accept_loop, daemon=True).start()
    sys.stdin.read()


if __name__ == "__main__":
    main()
