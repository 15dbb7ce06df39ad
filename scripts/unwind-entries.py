#!/usr/bin/env python3
"""Checks the DWARF unwind tables (.eh_frame) of 32-bit Windows binaries built by MinGW-w64.

The unwinder of that target sorts the entries by their start address and looks them up by
bisection: an entry of length 0 that starts where a real entry starts may hide the real one, and
an exception passing that function then ends the program in std::terminate. Such entries come from
empty cold parts of split functions. Prints one line per binary; exits 1 when a binary holds an
entry of length 0 or its tables cannot be read.

    unwind-entries.py BINARY...
"""
import struct
import sys


def sections(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    count = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    image_base = struct.unpack_from("<I", data, pe + 24 + 28)[0]
    symbols, symbol_count = struct.unpack_from("<II", data, pe + 12)
    strings = symbols + 18 * symbol_count
    table = pe + 24 + optional_size
    found = {}
    for i in range(count):
        entry = table + 40 * i
        name = data[entry:entry + 8].rstrip(b"\0").decode("ascii", "replace")
        if name.startswith("/") and symbols:  # a long name, kept in the string table
            start = strings + int(name[1:])
            name = data[start:data.index(b"\0", start)].decode("ascii", "replace")
        virtual_size, address, raw_size, raw_offset = struct.unpack_from("<IIII", data, entry + 8)
        found[name] = (image_base + address, min(virtual_size, raw_size), raw_offset)
    return found


def read_uleb(data, at):
    value = shift = 0
    while True:
        byte = data[at]
        at += 1
        value |= (byte & 0x7F) << shift
        shift += 7
        if byte < 0x80:
            return value, at


def pointer_encoding(table, cie):
    """The encoding of an FDE's addresses as the CIE at `cie` declares it (absolute if none)."""
    at = cie + 9
    end = table.index(b"\0", at)
    augmentation = table[at:end].decode("ascii", "replace")
    at = end + 1
    if not augmentation.startswith("z"):
        return 0x00
    _, at = read_uleb(table, at)  # code alignment
    while table[at] & 0x80:  # data alignment (signed LEB128)
        at += 1
    at += 1
    _, at = read_uleb(table, at)  # return address register
    _, at = read_uleb(table, at)  # augmentation size
    for letter in augmentation[1:]:
        if letter == "R":
            return table[at]
        if letter == "P":
            encoding = table[at]
            at += 1 + pointer_size(encoding)
        elif letter == "L":
            at += 1
        else:
            raise ValueError("unknown CIE augmentation " + augmentation)
    return 0x00


def pointer_size(encoding):
    sizes = {0x00: 4, 0x03: 4, 0x0B: 4, 0x02: 2, 0x0A: 2, 0x04: 8, 0x0C: 8}
    if encoding & 0x0F not in sizes:
        raise ValueError("unknown pointer encoding 0x%02x" % encoding)
    return sizes[encoding & 0x0F]


def looks_like_unwind_table(table):
    """A table of unwind entries opens with a CIE: id 0, version 1, an augmentation "z..."."""
    return len(table) > 12 and table[4:8] == b"\0\0\0\0" and table[8] == 1 and table[9:10] == b"z"


def unwind_table(data):
    """The address and bytes of .eh_frame. A stripped binary has lost the section's long name
    (the name table goes with the symbols), so there the section is known by its content."""
    found = sections(data)
    named = [found[".eh_frame"]] if ".eh_frame" in found else [
        place for name, place in found.items() if name.startswith("/") or name == ".eh_fram"]
    for address, size, offset in named:
        table = data[offset:offset + size]
        if looks_like_unwind_table(table):
            return address, table
    raise ValueError("no unwind table (.eh_frame) found")


def entries(path):
    address, table = unwind_table(open(path, "rb").read())
    result = []
    at = 0
    while at + 4 <= len(table):
        length = struct.unpack_from("<I", table, at)[0]
        if length == 0:
            break  # the terminator
        cie_pointer = struct.unpack_from("<I", table, at + 4)[0]
        if cie_pointer != 0:
            encoding = pointer_encoding(table, at + 4 - cie_pointer)
            if encoding & 0x70 not in (0x00, 0x10):
                raise ValueError("unknown pointer application 0x%02x" % encoding)
            signed = "<i" if encoding & 0x08 else "<I"
            start = struct.unpack_from(signed, table, at + 8)[0]
            if encoding & 0x70 == 0x10:
                start += address + at + 8
            length_of_code = struct.unpack_from("<I", table, at + 12)[0]
            result.append((start & 0xFFFFFFFF, length_of_code))
        at += 4 + length
    return result


def main(paths):
    failed = False
    for path in paths:
        try:
            found = entries(path)
        except (OSError, ValueError, IndexError, struct.error) as error:
            print("%s: the unwind tables cannot be read: %s" % (path, error))
            failed = True
            continue
        empty = sorted(start for start, length in found if length == 0)
        if empty:
            print("%s: %d unwind entries, %d of length 0 (at %s)" %
                  (path, len(found), len(empty), ", ".join("0x%08x" % s for s in empty[:5])))
            failed = True
        else:
            print("%s: %d unwind entries, none of length 0" % (path, len(found)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
