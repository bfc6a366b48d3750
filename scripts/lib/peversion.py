#!/usr/bin/env python3
"""Reads a Windows executable's version record (VERSIONINFO) and link time stamp without
running it, for the packaging script and its tests. Prints JSON:
  {"kind": "PE32", "timestamp": 0, "file_version": "1.0.0.0",
   "product_version": "1.0.0.0", "strings": {"FileVersion": "1.0.0", ...}}
  peversion.py <file.exe>
The versions are null and the strings empty for a file without a version record.
Exits 1 with a message on a file that is no PE or whose record is malformed."""
import json
import struct
import sys

RT_VERSION = 16


class Bad(Exception):
    pass


def u16(data, at):
    if at < 0 or at + 2 > len(data):
        raise Bad("truncated at %d" % at)
    return struct.unpack_from("<H", data, at)[0]


def u32(data, at):
    if at < 0 or at + 4 > len(data):
        raise Bad("truncated at %d" % at)
    return struct.unpack_from("<I", data, at)[0]


def sections(data, pe):
    count = u16(data, pe + 6)
    opt_size = u16(data, pe + 20)
    first = pe + 24 + opt_size
    out = []
    for i in range(count):
        at = first + 40 * i
        vsize, va, rawsize, raw = (u32(data, at + 8), u32(data, at + 12),
                                   u32(data, at + 16), u32(data, at + 20))
        out.append((va, max(vsize, rawsize), raw))
    return out


def file_offset(secs, rva):
    for va, size, raw in secs:
        if va <= rva < va + size:
            return raw + rva - va
    raise Bad("address 0x%x is in no section" % rva)


def version_resource(data):
    if data[:2] != b"MZ":
        raise Bad("not an MZ executable")
    pe = u32(data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        raise Bad("no PE header")
    stamp = u32(data, pe + 8)
    opt = pe + 24
    magic = u16(data, opt)
    if magic == 0x10B:
        kind, dirs = "PE32", opt + 96
    elif magic == 0x20B:
        kind, dirs = "PE32+", opt + 112
    else:
        raise Bad("unknown optional header 0x%x" % magic)
    rsrc_rva = u32(data, dirs + 8 * 2)
    if rsrc_rva == 0:
        return kind, stamp, None
    secs = sections(data, pe)
    base = file_offset(secs, rsrc_rva)

    # Resource directory: type, then name, then language; the first entry of each level
    # below the type.
    def entries(at):
        named, ids = u16(data, at + 12), u16(data, at + 14)
        for i in range(named + ids):
            yield u32(data, at + 16 + 8 * i), u32(data, at + 20 + 8 * i)

    for ident, target in entries(base):
        if ident == RT_VERSION and target & 0x80000000:
            level = base + (target & 0x7FFFFFFF)
            for _ in range(2):
                first = next(entries(level), None)
                if first is None or not first[1] & 0x80000000:
                    break
                level = base + (first[1] & 0x7FFFFFFF)
            leaf = next(entries(level), None)
            if leaf is None or leaf[1] & 0x80000000:
                raise Bad("malformed version resource directory")
            entry = base + leaf[1]
            at = file_offset(secs, u32(data, entry))
            size = u32(data, entry + 4)
            if at + size > len(data):
                raise Bad("version resource runs past the file")
            return kind, stamp, data[at:at + size]
    return kind, stamp, None


def align4(n):
    return (n + 3) & ~3


def block(blob, at):
    """One version block: (length, value length, type, key, value offset, end)."""
    length, vlen, vtype = u16(blob, at), u16(blob, at + 2), u16(blob, at + 4)
    end = at + length
    if length < 6 or end > len(blob):
        raise Bad("version block of bad length %d" % length)
    key_at = at + 6
    key_end = key_at
    while key_end + 1 < end and blob[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = blob[key_at:key_end].decode("utf-16-le")
    return length, vlen, vtype, key, align4(key_end + 2), end


def parse(blob):
    _, vlen, _, key, value_at, end = block(blob, 0)
    if key != "VS_VERSION_INFO":
        raise Bad("version record named %r" % key)
    if vlen < 52 or u32(blob, value_at) != 0xFEEF04BD:
        raise Bad("no fixed file information")
    ms, ls, pms, pls = (u32(blob, value_at + 8), u32(blob, value_at + 12),
                        u32(blob, value_at + 16), u32(blob, value_at + 20))

    def dotted(hi, lo):
        return "%d.%d.%d.%d" % (hi >> 16, hi & 0xFFFF, lo >> 16, lo & 0xFFFF)

    strings = {}
    at = align4(value_at + vlen)
    while at < end:
        length, _, _, name, child, stop = block(blob, at)
        if name == "StringFileInfo":
            table = child
            while table < stop:
                tlen, _, _, _, item, tstop = block(blob, table)
                while item < tstop:
                    ilen, ivlen, _, ikey, ivalue, _ = block(blob, item)
                    text = blob[ivalue:ivalue + 2 * ivlen].decode("utf-16-le", "replace")
                    strings[ikey] = text.split("\0", 1)[0]
                    item = align4(item + ilen)
                table = align4(table + tlen)
        at = align4(at + length)
    return dotted(ms, ls), dotted(pms, pls), strings


def main():
    if len(sys.argv) != 2:
        print("usage: peversion.py <file.exe>", file=sys.stderr)
        return 2
    try:
        data = open(sys.argv[1], "rb").read()
        kind, stamp, blob = version_resource(data)
        file_version, product_version, strings = parse(blob) if blob else (None, None, {})
    except (OSError, Bad, UnicodeDecodeError, StopIteration) as e:
        print("peversion: %s: %s" % (sys.argv[1], e), file=sys.stderr)
        return 1
    print(json.dumps({"kind": kind, "timestamp": stamp, "file_version": file_version,
                      "product_version": product_version, "strings": strings},
                     sort_keys=True))
    return 0


if __name__ == "__main__":
    sys.exit(main())
