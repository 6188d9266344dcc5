"""Reads the XML parts of an OpenDocument package with a strict XML 1.0 parser (expat), which
refuses characters and character references XML 1.0 forbids, and finds the given sample text
in content.xml. Usage: strict_xml.py PACKAGE SAMPLE"""
import sys
import xml.dom.minidom
import zipfile

package_path, sample = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(package_path) as package:
    for part in ("content.xml", "styles.xml", "meta.xml"):
        try:
            document = xml.dom.minidom.parseString(package.read(part))
        except Exception as error:
            sys.exit(f"{package_path}: {part} is not well-formed XML: {error}")
        if part == "content.xml":
            texts = [node.data for node in document.getElementsByTagName("text:p")
                     for node in node.childNodes if node.nodeType == node.TEXT_NODE]
            if sample not in texts:
                sys.exit(f"{package_path}: content.xml holds no paragraph with {sample!r}")
print(f"{package_path}: every part is well-formed XML 1.0")
