"""The simulated modem's file system: the default tree, image versions and the
DNS state file.  Standard library only, so that test helpers can use it with
any Python 3.
"""

import hashlib
import ipaddress
import os
import random
import re
import tempfile

IMAGE_MAGIC = b'KOVA-IMAGE '
DEFAULT_VERSION = '5.2.0.12'
DEFAULT_DNS = '10.0.0.1'
DEFAULT_DNS2 = '10.0.0.2'
DNS_FILE = 'dns.txt'
IMAGE_PATH = 'bin/kova.bin'
# The boot loader's record of the images known to have arrived whole: one
# SHA-256 (hex) a line.  Inside the root, but never served over FTP.
BOOT_DIR = '.boot'
WHOLE_RECORD = BOOT_DIR + '/whole'
DEFAULT_IMAGE_SIZE = 65536

# Display form: groups of digits joined by dots.
_VERSION_RE = re.compile(r'[0-9]{1,6}(?:\.[0-9]{1,6}){0,7}\Z')
_IPV4_RE = re.compile(r'[0-9]{1,3}(?:\.[0-9]{1,3}){3}\Z')

_UMASK = os.umask(0)
os.umask(_UMASK)


def new_temp(path, suffix):
    """A fresh temporary beside `path`, with the permissions of a new file."""
    folder, base = os.path.split(os.path.abspath(path))
    fd, tmp = tempfile.mkstemp(prefix='.' + base + '.', suffix=suffix, dir=folder)
    os.fchmod(fd, 0o666 & ~_UMASK)
    return fd, tmp


def valid_version(text):
    return bool(_VERSION_RE.match(text))


def valid_ipv4(text):
    if not _IPV4_RE.match(text):
        return False
    try:
        ipaddress.IPv4Address(text)
    except ValueError:
        return False
    return True


def image_bytes(version, size=DEFAULT_IMAGE_SIZE):
    """A firmware image that carries `version` in its first line."""
    if not valid_version(version):
        raise ValueError('not a version: %r' % (version,))
    body = random.Random('kova-image-' + version).randbytes(max(0, size))
    return (IMAGE_MAGIC + version.encode('ascii') + b'\n'
            + b'simulated modem firmware\n' + body)


def image_version(path):
    """The version an image names in its first line, or None."""
    try:
        with open(path, 'rb') as f:
            head = f.read(80)
    except OSError:
        return None
    line, newline, _ = head.partition(b'\n')
    if not newline and len(head) == 80:
        return None  # first line too long to be a header
    line = line.rstrip(b'\r')
    if not line.startswith(IMAGE_MAGIC):
        return None
    version = line[len(IMAGE_MAGIC):].decode('ascii', 'replace')
    return version if valid_version(version) else None


def write_atomic(path, data):
    """Writes `data` so that `path` is either the old or the whole new file."""
    fd, tmp = new_temp(path, '.tmp')
    try:
        with os.fdopen(fd, 'wb') as f:
            f.write(data)
        os.replace(tmp, path)
    except BaseException:
        try:
            os.unlink(tmp)
        except OSError:
            pass
        raise


def file_digest(path):
    """SHA-256 (hex) of a file's bytes, or None when it cannot be read."""
    digest = hashlib.sha256()
    try:
        with open(path, 'rb') as f:
            while chunk := f.read(1 << 16):
                digest.update(chunk)
    except OSError:
        return None
    return digest.hexdigest()


def read_whole(root):
    """The digests on record as whole images, or None without a record."""
    try:
        with open(os.path.join(root, WHOLE_RECORD), encoding='ascii', errors='replace') as f:
            return {line.strip() for line in f if line.strip()}
    except FileNotFoundError:
        return None


def write_whole(root, digests):
    os.makedirs(os.path.join(root, BOOT_DIR), exist_ok=True)
    write_atomic(os.path.join(root, WHOLE_RECORD),
                 ''.join(d + '\n' for d in sorted(digests)).encode('ascii'))


def add_whole(root, digest):
    known = read_whole(root) or set()
    if digest not in known:
        write_whole(root, known | {digest})


def record_present_image(root):
    """Starts the record with the image the flash holds now (none: empty)."""
    digest = file_digest(os.path.join(root, IMAGE_PATH))
    write_whole(root, {digest} if digest else set())


def read_dns(root):
    """(primary, secondary) from the state file, or None when absent or bad."""
    try:
        with open(os.path.join(root, DNS_FILE), encoding='ascii') as f:
            text = f.read(4096)
    except (OSError, UnicodeDecodeError):
        return None
    values = {}
    for line in text.splitlines():
        key, eq, value = line.partition('=')
        if eq:
            values[key.strip()] = value.strip()
    dns, dns2 = values.get('DNS', ''), values.get('DNS2', '')
    if valid_ipv4(dns) and valid_ipv4(dns2):
        return dns, dns2
    return None


def write_dns(root, dns, dns2):
    write_atomic(os.path.join(root, DNS_FILE),
                 ('DNS=%s\nDNS2=%s\n' % (dns, dns2)).encode('ascii'))


def make_root(root, version=DEFAULT_VERSION, dns=DEFAULT_DNS, dns2=DEFAULT_DNS2,
              image_size=DEFAULT_IMAGE_SIZE):
    """Creates (or rewrites) the default tree of a modem running `version`."""
    if not valid_version(version):
        raise ValueError('not a version in display form (like 5.2.0.12): %r' % (version,))
    for address in (dns, dns2):
        if not valid_ipv4(address):
            raise ValueError('not an IPv4 address: %r' % (address,))
    if os.path.exists(root) and not os.path.isdir(root):
        raise ValueError('%s exists and is not a directory' % root)
    os.makedirs(os.path.join(root, 'bin'), exist_ok=True)
    os.makedirs(os.path.join(root, 'ram0'), exist_ok=True)
    image = image_bytes(version, image_size)
    files = {
        IMAGE_PATH: image,
        'checksum.txt': ('%s  kova.bin\n' % hashlib.md5(image).hexdigest()).encode('ascii'),
        'config.txt': b'# modem configuration\nhostname=kova-modem\nbeam=auto\nlog_level=2\n',
        'pic.hex': b':10000000000102030405060708090A0B0C0D0E0F78\n:00000001FF\n',
        'ram0/syslog.log': ('boot: modem software %s started\n'
                            'net: ethernet link up\n'
                            'sat: searching for satellite\n'
                            'sat: locked, signal 7.1 dB\n' % version).encode('ascii'),
    }
    for name, data in files.items():
        write_atomic(os.path.join(root, name), data)
    write_dns(root, dns, dns2)
    write_whole(root, {hashlib.sha256(image).hexdigest()})
    return root
