#!/bin/sh
# Test certificates for the TLS and SMTP tests, written into folder $1:
#   ca.pem / ca.key         a test CA
#   good.pem / good.key     localhost and 127.0.0.1, signed by the CA
#   wrong.pem / wrong.key   other.quillory.test only, signed by the CA
#   wild.pem / wild.key     *.quillory.test, signed by the CA
#   expired.pem / .key      localhost and 127.0.0.1, signed by the CA, valid 2020 only
#   rogue.pem / rogue.key   localhost and 127.0.0.1, signed by a CA nobody trusts
set -e
dir=$1
cd "$dir"
cat > ca.cnf <<'CNF'
[ ca ]
default_ca = test_ca
[ test_ca ]
dir = .
database = index.txt
new_certs_dir = .
serial = serial
default_md = sha256
policy = any
unique_subject = no
copy_extensions = copy
[ any ]
commonName = supplied
[ req ]
distinguished_name = dn
prompt = no
[ dn ]
CN = unused
CNF
: > index.txt
echo 1000 > serial

key() { openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$1" 2>/dev/null; }

ca() { # name subject
  key "$1.key"
  openssl req -new -x509 -key "$1.key" -subj "$2" -days 3650 -out "$1.pem" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"
}

leaf() { # name common-name san ca start end
  key "$1.key"
  openssl req -new -key "$1.key" -subj "/CN=$2" -addext "subjectAltName=$3" -out "$1.csr"
  openssl ca -batch -config ca.cnf -cert "$4.pem" -keyfile "$4.key" -in "$1.csr" -out "$1.pem" \
    -startdate "$5" -enddate "$6" -notext 2>/dev/null
}

ca ca "/CN=Quillory Test CA"
ca rogueca "/CN=Quillory Rogue CA"
leaf good localhost "DNS:localhost,IP:127.0.0.1" ca 20240101000000Z 20991231000000Z
leaf wrong other.quillory.test "DNS:other.quillory.test" ca 20240101000000Z 20991231000000Z
leaf wild "*.quillory.test" "DNS:*.quillory.test" ca 20240101000000Z 20991231000000Z
leaf expired localhost "DNS:localhost,IP:127.0.0.1" ca 20200101000000Z 20210101000000Z
leaf rogue localhost "DNS:localhost,IP:127.0.0.1" rogueca 20240101000000Z 20991231000000Z
