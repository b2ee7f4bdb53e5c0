#!/usr/bin/env python3
"""The C interface through ctypes, as a Python program uses it: translate, switch language, list.

usage: nls_ctypes.py LIBRARY CATALOGUE-DIRECTORY (run with LC_ALL=de_DE.UTF-8)
"""
import ctypes
import sys

nls = ctypes.CDLL(sys.argv[1])
nls.nls_database_create.argtypes = [ctypes.c_char_p, ctypes.c_char_p,
                                    ctypes.POINTER(ctypes.c_void_p)]
nls.nls_database_destroy.argtypes = [ctypes.c_void_p]
nls.nls_database_language.argtypes = [ctypes.c_void_p]
nls.nls_database_language.restype = ctypes.c_char_p
nls.nls_gettext.argtypes = [ctypes.c_void_p, ctypes.c_char_p]
nls.nls_gettext.restype = ctypes.c_char_p
nls.nls_ngettext.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p, ctypes.c_ulong]
nls.nls_ngettext.restype = ctypes.c_char_p
nls.nls_textdomain.argtypes = [ctypes.c_char_p]
nls.nls_textdomain.restype = ctypes.c_char_p
nls.nls_set_language.argtypes = [ctypes.c_char_p]
LANGUAGE_CALLBACK = ctypes.CFUNCTYPE(None, ctypes.c_char_p, ctypes.c_char_p, ctypes.c_void_p)
nls.nls_list_languages.argtypes = [ctypes.c_void_p, LANGUAGE_CALLBACK, ctypes.c_void_p]

database = ctypes.c_void_p()
assert nls.nls_database_create(sys.argv[2].encode(), b"capi", ctypes.byref(database)) == 0
try:
    assert nls.nls_textdomain(b"capi").endswith(b"/capi.mo")
    seen = []
    for language, hello, files in [(None, "Hallo, Welt!", "3 Dateien"),
                                   (b"fr_FR.UTF-8", "Bonjour, le monde !", "3 fichiers"),
                                   (b"C", "Hello, world!", "3 files")]:
        if language:
            assert nls.nls_set_language(language) == 0, language
        got = nls.nls_gettext(database, b"Hello, world!").decode()
        form = nls.nls_ngettext(None, b"%lu file", b"%lu files", 3).decode() % 3
        seen.append((nls.nls_database_language(database).decode(), got, form))
        assert (got, form) == (hello, files), seen

    listed = []
    callback = LANGUAGE_CALLBACK(lambda name, iso, user: listed.append((name, iso)))
    assert nls.nls_list_languages(database, callback, None) == 0
    assert listed == [(b"French", b"fr-FR"), (b"German", b"de-DE")], listed
finally:
    nls.nls_database_destroy(database)
print("1 passed, 0 failed")
