"""Parses a stored message with Python's email package and prints what the
tests compare, one "key=value" a line (values as Python's ascii() where they
may hold line ends; the body with its line ends as "\n"):
  from, to, cc, subject, date, multipart, body (the text part, decoded),
  attachment-name, attachment-filename, attachment-bytes (sha256 of the
  decoded part), attachment-size, defects (the parser's count)
"""
import email
import email.policy
import hashlib
import sys


def main():
    with open(sys.argv[1], "rb") as f:
        message = email.message_from_binary_file(f, policy=email.policy.compat32)
    defects = len(message.defects)
    print("from=" + str(message["From"]))
    print("to=" + ascii(str(message["To"])))
    print("cc=" + ascii(str(message["CC"])))
    print("subject=" + str(message["Subject"]))
    print("date=" + str(message["Date"]))
    print("multipart=%d" % message.is_multipart())
    for part in message.walk():
        defects += len(part.defects)
        if part.is_multipart():
            continue
        if part.get_filename() is None:
            payload = part.get_payload(decode=True)
            print("body=" + ascii(payload.decode("latin-1").replace("\r\n", "\n")))
        else:
            data = part.get_payload(decode=True)
            print("attachment-name=" + str(part.get_param("name")))
            print("attachment-filename=" + part.get_filename())
            print("attachment-bytes=" + hashlib.sha256(data).hexdigest())
            print("attachment-size=%d" % len(data))
    print("defects=%d" % defects)


main()
