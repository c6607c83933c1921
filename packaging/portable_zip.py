#!/usr/bin/env python3
"""Writes the portable zip so that the same inputs give the same bytes.

portable_zip.py <out.zip> <date file> <file>...

The date file holds seconds since 1970 (packaging/zip_date.cmake writes it).

Every entry is stored under its file name, with the date given (UTC, to the
two seconds a zip date holds), a fixed mode (0755 for .exe files, 0644 for
the rest) and no extra fields: nothing of the build machine's clock, time
zone, user or umask reaches the archive.
"""
import os
import sys
import time
import zipfile


def main(argv):
    if len(argv) < 4:
        sys.stderr.write(__doc__)
        return 2
    out, files = argv[1], argv[3:]
    with open(argv[2], encoding="ascii") as f:
        epoch = int(f.read().strip())
    # A zip date cannot lie before 1980.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    temp = out + ".part"
    with zipfile.ZipFile(temp, "w") as archive:
        for path in files:
            name = os.path.basename(path)
            info = zipfile.ZipInfo(name, stamp)
            info.create_system = 3  # Unix, so that the mode below is read
            mode = 0o755 if name.lower().endswith(".exe") else 0o644
            info.external_attr = (0o100000 | mode) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)
    os.replace(temp, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
