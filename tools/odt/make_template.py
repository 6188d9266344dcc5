#!/usr/bin/env python3
"""Packs the protocol template Export_Protocol.odt from the readable sources beside it.

Usage: make_template.py OUTPUT.odt [SOURCE_DIR]

The package is an OpenDocument text: the `mimetype` entry first and stored uncompressed,
then the manifest and the XML parts, deflated. Every part is checked to be well-formed
XML first. Entries carry a fixed time stamp, so the same sources give the same bytes.
"""
import pathlib
import sys
import xml.dom.minidom
import zipfile

MIMETYPE = b"application/vnd.oasis.opendocument.text"
PARTS = ["META-INF/manifest.xml", "content.xml", "styles.xml", "meta.xml"]
STAMP = (1980, 1, 1, 0, 0, 0)


def entry(name, compress):
    info = zipfile.ZipInfo(name, date_time=STAMP)
    info.compress_type = compress
    info.external_attr = 0o644 << 16
    return info


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    output = pathlib.Path(sys.argv[1])
    source = pathlib.Path(sys.argv[2]) if len(sys.argv) == 3 else pathlib.Path(__file__).parent / "template"
    contents = {}
    for part in PARTS:
        data = (source / part).read_bytes()
        try:
            xml.dom.minidom.parseString(data)
        except Exception as error:
            sys.exit(f"{source / part}: not well-formed XML: {error}")
        contents[part] = data
    output.parent.mkdir(parents=True, exist_ok=True)
    temporary = output.with_suffix(output.suffix + ".part")
    with zipfile.ZipFile(temporary, "w") as package:
        package.writestr(entry("mimetype", zipfile.ZIP_STORED), MIMETYPE)
        for part in PARTS:
            package.writestr(entry(part, zipfile.ZIP_DEFLATED), contents[part])
    temporary.replace(output)


if __name__ == "__main__":
    main()
