#!/usr/bin/env python3
"""pe-signable.py FILE...: gives each PE file, in place, the form that signing it with an
Authenticode signature and removing that signature again leaves behind: zero bytes appended
up to a multiple of 8 (where a signature would start) and the header's checksum filled in.
A shipped file whose signature is removed then equals, byte for byte, the unsigned file of
the same commit. A file already in that form stays as it is."""
import sys
from array import array


def checksum(data: bytes, field: int) -> int:
    """The PE checksum: the file summed as 16-bit words with the carries folded back in,
    the checksum field itself read as 0, plus the file's length."""
    words = array("H", data[:field] + b"\0\0\0\0" + data[field + 4:])
    if sys.byteorder == "big":
        words.byteswap()
    total = sum(words)
    while total > 0xFFFF:
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(data)) & 0xFFFFFFFF


def make_signable(path: str) -> None:
    with open(path, "rb") as file:
        data = bytearray(file.read())
    if data[:2] != b"MZ":
        sys.exit(f"pe-signable: {path}: not a PE file")
    header = int.from_bytes(data[0x3C:0x40], "little")
    if data[header:header + 4] != b"PE\0\0":
        sys.exit(f"pe-signable: {path}: no PE header")
    # The checksum sits 64 bytes into the optional header, which follows the 4-byte
    # signature and the 20-byte file header, in PE32 and PE32+ alike.
    field = header + 24 + 64
    data += b"\0" * (-len(data) % 8)
    data[field:field + 4] = checksum(bytes(data), field).to_bytes(4, "little")
    with open(path, "wb") as file:
        file.write(data)


for name in sys.argv[1:]:
    make_signable(name)
