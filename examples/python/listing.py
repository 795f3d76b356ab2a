#!/usr/bin/env python3
"""An invoice saved as PDF through Quillet's C interface, with ctypes only.

    python3 listing.py OUTPUT.pdf

The library is found as QUILLET_LIBRARY (a path), else as libquillet.so.1 on
the usual library path. Without a display it works offscreen.
"""
import ctypes
import os
import sys

CURRENT = -1.0
LAST_PAGE = -1
DEFAULTS = 0x3F
NODIALOG = 1 << 7


def load_quillet():
    lib = ctypes.CDLL(os.environ.get("QUILLET_LIBRARY", "libquillet.so.1"))
    handle, text, f, i = ctypes.c_void_p, ctypes.c_char_p, ctypes.c_float, ctypes.c_int
    signatures = {
        "quillet_create": ([], handle),
        "quillet_destroy": ([handle], None),
        "quillet_init": ([handle, text, text, text, text, ctypes.c_uint, i, i], i),
        "quillet_abort": ([handle], None),
        "quillet_save_pdf": ([handle, text, i, i], i),
        "quillet_pfont": ([handle, text, f, i, i, i], None),
        "quillet_pnl": ([handle, f], None),
        "quillet_c": ([handle, text, f, f, f], None),
        "quillet_l": ([handle, text, f, f, f], None),
        "quillet_r": ([handle, text, f, f, f], None),
        "quillet_newcol": ([handle, f, f], None),
        "quillet_lcol": ([handle, i, text, f, f, i], None),
        "quillet_rcol": ([handle, i, text, f, f, i], None),
        "quillet_pbox": ([handle, f, f, f, f, i], None),
        "quillet_mx": ([handle], f),
    }
    for name, (argtypes, restype) in signatures.items():
        function = getattr(lib, name)
        function.argtypes = argtypes
        function.restype = restype
    return lib


def utf8(value):
    return value.encode("utf-8")


def main(argv):
    if len(argv) != 2:
        print(f"usage: {argv[0]} OUTPUT.pdf", file=sys.stderr)
        return 2
    lib = load_quillet()
    q = lib.quillet_create()
    if not q:
        print("the component could not be created", file=sys.stderr)
        return 1
    try:
        if lib.quillet_init(q, utf8("Fatura"), None, None, None, DEFAULTS | NODIALOG, 0, 0) != 0:
            print("the listing could not be opened", file=sys.stderr)
            return 1
        lib.quillet_pfont(q, utf8("Liberation Serif"), 16, 1, 0, 1)
        lib.quillet_c(q, utf8("Fatura n.º 42"), CURRENT, CURRENT, CURRENT)
        lib.quillet_pfont(q, utf8("Liberation Serif"), 11, 0, 0, 1)
        lib.quillet_pnl(q, 12)

        lib.quillet_newcol(q, 0, 120)
        lib.quillet_newcol(q, 120, lib.quillet_mx(q) - 120)
        items = [("Papel A4, resma", 4.95), ("Canetas, caixa de 12", 6.40), ("Agrafador", 11.00)]
        for description, price in items:
            lib.quillet_lcol(q, 1, utf8(description), 0, CURRENT, 1)
            lib.quillet_rcol(q, 2, utf8(f"{price:.2f} EUR"), 0, CURRENT, 1)
            lib.quillet_pnl(q, 0)
        lib.quillet_pbox(q, CURRENT, 0, 0, lib.quillet_mx(q), 1)  # height 0: a line
        lib.quillet_pnl(q, 2)
        total = sum(price for _, price in items)
        lib.quillet_r(q, utf8(f"Total: {total:.2f} EUR"), CURRENT, lib.quillet_mx(q), 0)

        saved = lib.quillet_save_pdf(q, utf8(argv[1]), 1, LAST_PAGE)
        lib.quillet_abort(q)
    finally:
        lib.quillet_destroy(q)
    if not saved:
        print(f"nothing was written to {argv[1]}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
