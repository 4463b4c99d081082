#!/usr/bin/env python3
"""A small SMTP server for the e-mail tests.

It offers AUTH LOGIN only, plain or with TLS (implicit on the port, or
STARTTLS) using a self-signed certificate made at start with the openssl
command. Every accepted message is written to the output folder as
<n>.eml (the bytes received), <n>-<k>.bin (each attachment, decoded) and
<n>.json (envelope, session and what Python's e-mail parser makes of it);
the .json file appears last, so its presence means the message is complete.

When it listens it prints one line to stdout:
    READY port=<port> cert=<certificate file or empty>
and it runs until it is killed or its stdin is closed.

Options:
    --dir DIR            output folder (created)
    --host HOST          address to bind (default 127.0.0.1)
    --user U --password P  the one account AUTH LOGIN accepts
    --auth-required      refuse MAIL FROM before a successful AUTH
    --tls none|implicit|starttls
"""
import argparse
import asyncio
import email
import email.policy
import json
import logging
import os
import shutil
import ssl
import subprocess
import sys
import warnings

try:
    from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword
except ImportError as e:  # the fixture tries another interpreter
    print("NOAIOSMTPD %s" % e, flush=True)
    sys.exit(3)


def make_certificate(folder):
    """A self-signed certificate for 127.0.0.1; (cert, key) or None."""
    openssl = shutil.which("openssl")
    if not openssl:
        return None
    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    cmd = [openssl, "req", "-x509", "-newkey", "rsa:2048", "-nodes",
           "-keyout", key, "-out", cert, "-days", "2",
           "-subj", "/CN=127.0.0.1",
           "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost"]
    r = subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if r.returncode != 0:
        return None
    return cert, key


def write_atomic(path, data):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


class Recorder:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        n = self.count
        raw = envelope.original_content or b""
        base = os.path.join(self.folder, str(n))
        write_atomic(base + ".eml", raw)

        msg = email.message_from_bytes(raw, policy=email.policy.default)
        attachments = []
        for k, part in enumerate(msg.iter_attachments(), start=1):
            payload = part.get_payload(decode=True) or b""
            name = "%d-%d.bin" % (n, k)
            write_atomic(os.path.join(self.folder, name), payload)
            attachments.append({
                "filename": part.get_filename(),
                "content_type": part.get_content_type(),
                "transfer_encoding": part.get("Content-Transfer-Encoding", ""),
                "file": name,
            })
        body = msg.get_body(preferencelist=("plain",))
        transport = server.transport
        ssl_object = transport.get_extra_info("ssl_object") if transport else None
        record = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": list(envelope.rcpt_tos),
            "auth_user": (session.auth_data.decode("utf-8", "replace")
                          if isinstance(session.auth_data, bytes) else None),
            "tls": ssl_object is not None,
            "tls_version": ssl_object.version() if ssl_object else None,
            "header_names": [k for k, _ in msg.items()],
            "subject": str(msg.get("Subject", "")),
            "from": str(msg.get("From", "")),
            "to": str(msg.get("To", "")),
            "content_type": msg.get_content_type(),
            "body": body.get_content() if body is not None else None,
            "defects": [type(d).__name__ for d in msg.defects],
            "attachments": attachments,
        }
        write_atomic(base + ".json", json.dumps(record).encode("utf-8"))
        return "250 OK"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--dir", required=True)
    ap.add_argument("--host", default="127.0.0.1")
    ap.add_argument("--user", default="user")
    ap.add_argument("--password", default="secret")
    ap.add_argument("--auth-required", action="store_true")
    ap.add_argument("--tls", choices=["none", "implicit", "starttls"], default="none")
    args = ap.parse_args()
    logging.getLogger("mail.log").setLevel(logging.ERROR)
    # AUTH without TLS is what some tests are about.
    warnings.filterwarnings("ignore", category=UserWarning)
    os.makedirs(args.dir, exist_ok=True)

    context = None
    cert_file = ""
    if args.tls != "none":
        cert_dir = os.path.join(args.dir, "cert")
        os.makedirs(cert_dir, exist_ok=True)
        made = make_certificate(cert_dir)
        if made is None:
            print("NOCERT", flush=True)
            sys.exit(4)
        cert_file, key_file = made
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.minimum_version = ssl.TLSVersion.TLSv1_2
        context.load_cert_chain(cert_file, key_file)

    def authenticator(server, session, envelope, mechanism, auth_data):
        ok = (mechanism == "LOGIN" and isinstance(auth_data, LoginPassword)
              and auth_data.login == args.user.encode("utf-8")
              and auth_data.password == args.password.encode("utf-8"))
        # handled=False: aiosmtpd itself answers 535 to a failure
        return AuthResult(success=ok, handled=False, auth_data=auth_data.login if ok else None)

    recorder = Recorder(args.dir)

    def factory():
        return SMTP(recorder,
                    hostname="smtp.test",
                    authenticator=authenticator,
                    auth_required=args.auth_required,
                    auth_require_tls=False,
                    auth_exclude_mechanism=["PLAIN"],
                    tls_context=context if args.tls == "starttls" else None,
                    require_starttls=(args.tls == "starttls"))

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    server = loop.run_until_complete(loop.create_server(
        factory, host=args.host, port=0,
        ssl=context if args.tls == "implicit" else None))
    port = server.sockets[0].getsockname()[1]
    print("READY port=%d cert=%s" % (port, cert_file), flush=True)

    # The test holds our stdin open; when it goes (even by a crash), so do we.
    def on_stdin():
        if not os.read(sys.stdin.fileno(), 4096):
            loop.stop()
    loop.add_reader(sys.stdin.fileno(), on_stdin)
    try:
        loop.run_forever()
    finally:
        server.close()


if __name__ == "__main__":
    main()
