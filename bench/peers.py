#!/usr/bin/python3
"""The peers' way of writing icon groups as DIR/1.ico, DIR/2.ico, ..., for bench/run.py.

  peers.py pefile FILE DIR [GROUPS]      pefile: parse once, write every group (or the first GROUPS)
  peers.py icoextract FILE DIR [GROUPS]  icoextract's library: parse once, export every group

Group order is the resource directory's, as icotake's. Both take each resource's first language.
"""
import os
import struct
import sys

import pefile


def pefile_groups(path, folder, cap):
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return 0
    types = {t.id: t for t in pe.DIRECTORY_ENTRY_RESOURCE.entries}
    groups = types.get(pefile.RESOURCE_TYPE["RT_GROUP_ICON"])
    icons = types.get(pefile.RESOURCE_TYPE["RT_ICON"])
    if groups is None or icons is None:
        return 0
    by_id = {e.id: e.directory.entries[0].data.struct for e in icons.directory.entries}
    written = 0
    for n, group in enumerate(groups.directory.entries[:cap], 1):
        data = group.directory.entries[0].data.struct
        raw = pe.get_data(data.OffsetToData, data.Size)
        count = struct.unpack_from("<H", raw, 4)[0]
        entries = [raw[6 + 14 * i: 20 + 14 * i] for i in range(count)]
        images = []
        for e in entries:
            icon = by_id[struct.unpack_from("<H", e, 12)[0]]
            images.append(pe.get_data(icon.OffsetToData, icon.Size))
        offset = 6 + 16 * count
        out = [struct.pack("<HHH", 0, 1, count)]
        for e, image in zip(entries, images):
            out.append(e[:8] + struct.pack("<II", len(image), offset))
            offset += len(image)
        out.extend(images)
        with open(os.path.join(folder, f"{n}.ico"), "wb") as f:
            f.write(b"".join(out))
        written += 1
    return written


def icoextract_groups(path, folder, cap):
    import icoextract
    try:
        extractor = icoextract.IconExtractor(path)
    except icoextract.NoIconsAvailableError:
        return 0
    count = min(len(extractor.list_group_icons()), cap)
    for n in range(count):
        extractor.export_icon(os.path.join(folder, f"{n + 1}.ico"), num=n)
    return count


def main():
    tool, path, folder = sys.argv[1:4]
    cap = int(sys.argv[4]) if len(sys.argv) > 4 else 1 << 30
    {"pefile": pefile_groups, "icoextract": icoextract_groups}[tool](path, folder, cap)


if __name__ == "__main__":
    main()
