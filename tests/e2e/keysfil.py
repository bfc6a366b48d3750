"""Keys.fil records for the end-to-end tests, written and read independently of the
program's own code: 844 bytes each, little-endian, counted strings."""
import struct

SIZE = 844


def _short(text, capacity, length=None):
    data = text.encode("latin-1")
    n = len(data) if length is None else length
    return bytes([n]) + data[:capacity].ljust(capacity, b"\0")


def record(name, group="", funtype=1, target="", parms="", dir="", key=0, keymod=0,
           show=1, reserved=1, name_len=None, group_len=None):
    rec = (_short(name, 40, name_len) + b"\0" * 3 + struct.pack("<ii", key, keymod) +
           _short(group, 10, group_len) + b"\0" + struct.pack("<i", funtype) +
           _short(target, 255) + _short(parms, 255) + _short(dir, 255) +
           struct.pack("<ii", show, reserved))
    assert len(rec) == SIZE
    return rec


def parse(data):
    """Every whole record of a file as a dict of its fields (values cut at their length)."""
    out = []
    for at in range(0, len(data) - len(data) % SIZE, SIZE):
        r = data[at:at + SIZE]

        def short(off, cap):
            n = r[off]
            return r[off + 1:off + 1 + min(n, cap)].decode("latin-1"), n

        name, name_len = short(0, 40)
        group, group_len = short(52, 10)
        key, keymod = struct.unpack_from("<ii", r, 44)
        (funtype,) = struct.unpack_from("<i", r, 64)
        show, reserved = struct.unpack_from("<ii", r, 836)
        out.append(dict(name=name, name_len=name_len, group=group, group_len=group_len,
                        key=key, keymod=keymod, funtype=funtype,
                        target=short(68, 255)[0], parms=short(324, 255)[0],
                        dir=short(580, 255)[0], show=show, reserved=reserved))
    return out
