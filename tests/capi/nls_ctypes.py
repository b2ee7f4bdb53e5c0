#!/usr/bin/env python3
"""The C interface through ctypes, as a Python program uses it: translate, switch language, list.

usage: nls_ctypes.py LIBRARY CATALOGUE-DIRECTORY (run with LC_ALL=de_DE.UTF-8)
"""
import ctypes
import sys

nls = ctypes.CDLL(sys.argv[1])
text, ptr = ctypes.c_char_p, ctypes.c_void_p
LANGUAGE_CALLBACK = ctypes.CFUNCTYPE(None, text, text, ptr)
for name, restype, argtypes in [
        ("nls_database_create", ctypes.c_int, [text, text, ctypes.POINTER(ptr)]),
        ("nls_database_destroy", None, [ptr]), ("nls_database_language", text, [ptr]),
        ("nls_gettext", text, [ptr, text]),
        ("nls_ngettext", text, [ptr, text, text, ctypes.c_ulong]),
        ("nls_textdomain", text, [text]), ("nls_set_language", ctypes.c_int, [text]),
        ("nls_list_languages", ctypes.c_int, [ptr, LANGUAGE_CALLBACK, ptr])]:
    getattr(nls, name).restype, getattr(nls, name).argtypes = restype, argtypes

database = ptr()
assert nls.nls_database_create(sys.argv[2].encode(), b"capi", ctypes.byref(database)) == 0
try:
    assert nls.nls_textdomain(b"capi").endswith(b"/capi.mo")
    for language, name, hello, files in [
            (None, "German", "Hallo, Welt!", "3 Dateien"),
            (b"fr_FR.UTF-8", "French", "Bonjour, le monde !", "3 fichiers"),
            (b"C", "C", "Hello, world!", "3 files")]:
        assert not language or nls.nls_set_language(language) == 0, language
        seen = (nls.nls_database_language(database).decode(),
                nls.nls_gettext(database, b"Hello, world!").decode(),
                nls.nls_ngettext(None, b"%lu file", b"%lu files", 3).decode() % 3)
        assert seen == (name, hello, files), seen
    listed = []
    callback = LANGUAGE_CALLBACK(lambda name, iso, user: listed.append((name, iso)))
    assert nls.nls_list_languages(database, callback, None) == 0
    assert listed == [(b"French", b"fr-FR"), (b"German", b"de-DE")], listed
finally:
    nls.nls_database_destroy(database)
print("1 passed, 0 failed")
