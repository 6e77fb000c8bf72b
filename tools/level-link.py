#!/usr/bin/python3
"""Prints the link that plays a level file in the browser build: the file's bytes compressed with
raw DEFLATE and written in unpadded base64url after "#level=", as the editor's Share makes it. A
level pack's file (.zvpack) is coded the same way, after "#pack=".
    tools/level-link.py LEVEL.txt|PACK.zvpack [SITE_URL]     (default site: http://127.0.0.1:8000/)"""
import base64
import sys
import zlib

MAX_LEVEL_BYTES = 4096
MAX_PACK_BYTES = 64 * 1024  # as web/level-code.js inflates at most


def level_code(data):
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    return base64.urlsafe_b64encode(packer.compress(data) + packer.flush()).rstrip(b"=").decode()


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    data = open(sys.argv[1], "rb").read()
    is_pack = sys.argv[1].endswith(".zvpack")
    key, noun, limit = ("pack", "level pack", MAX_PACK_BYTES) if is_pack else ("level", "level", MAX_LEVEL_BYTES)
    if len(data) > limit:
        sys.exit("level-link: %s is %d bytes; a %s file is at most %d" % (sys.argv[1], len(data), noun, limit))
    site = sys.argv[2] if len(sys.argv) == 3 else "http://127.0.0.1:8000/"
    print(site.rstrip("/") + "/index.html#%s=" % key + level_code(data))


if __name__ == "__main__":
    main()
