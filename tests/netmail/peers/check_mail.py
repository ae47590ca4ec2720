"""Parses a stored message with Python's email package and prints what the
tests compare, one "key=value" a line (values as Python's ascii() where they
may hold line ends; the body with its line ends as "\n"):
  from, to, cc, subject, date, multipart, body (the text part, decoded),
  attachment-name, attachment-filename, attachment-bytes (sha256 of the
  decoded part), attachment-size, defects (the parser's count)
and what a mail reader makes of it:
  subject-text (the subject decoded and unfolded, ascii()), body-text (the
  text part decoded in its declared character set, ascii()), text-type (its
  content type and charset), text-encoding, attachment-type,
  attachment-filename-text (ascii()), mime-version,
  message-id, date-utc (the Date header as seconds since 1970, from its own
  zone), longest-line (of the message as received, without its line end)
"""
import email
import email.policy
import email.utils
import hashlib
import sys


def main():
    with open(sys.argv[1], "rb") as f:
        raw = f.read()
    message = email.message_from_bytes(raw, policy=email.policy.compat32)
    modern = email.message_from_bytes(raw, policy=email.policy.default)
    defects = len(message.defects)
    print("from=" + str(message["From"]))
    print("to=" + ascii(str(message["To"])))
    print("cc=" + ascii(str(message["CC"])))
    print("subject=" + str(message["Subject"]))
    print("subject-text=" + ascii(str(modern["Subject"])))
    print("date=" + str(message["Date"]))
    date = email.utils.parsedate_to_datetime(str(message["Date"]))
    if date.tzinfo is not None:
        print("date-utc=%d" % int(date.timestamp()))
    print("mime-version=" + str(message["MIME-Version"]))
    print("message-id=" + str(message["Message-ID"]))
    print("multipart=%d" % message.is_multipart())
    for part in message.walk():
        defects += len(part.defects)
        if part.is_multipart():
            continue
        if part.get_filename() is None:
            payload = part.get_payload(decode=True)
            print("body=" + ascii(payload.decode("latin-1").replace("\r\n", "\n")))
            charset = part.get_content_charset() or "us-ascii"
            print("body-text=" + ascii(payload.decode(charset).replace("\r\n", "\n")))
            print("text-type=%s; charset=%s" % (part.get_content_type(), charset))
            print("text-encoding=" + str(part["Content-Transfer-Encoding"]))
        else:
            data = part.get_payload(decode=True)
            print("attachment-name=" + str(part.get_param("name")))
            print("attachment-filename=" + part.get_filename())
            print("attachment-filename-text=" + ascii(part.get_filename()))
            print("attachment-type=" + part.get_content_type())
            print("attachment-bytes=" + hashlib.sha256(data).hexdigest())
            print("attachment-size=%d" % len(data))
    print("longest-line=%d" % max(len(line) for line in raw.split(b"\r\n")))
    print("defects=%d" % defects)


main()
