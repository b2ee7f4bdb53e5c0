/* Every function of the C interface, called from C: a database of the domain "capi" with German
   and French catalogues under the directory given as argument, one without a catalogue, lookups
   through a handle, the current domain and a named one, language switches, listing, the stored
   display language and reports. ctest runs it with LC_ALL=de_DE.UTF-8. */

#include <nls/nls.h>

#include <stdio.h>
#include <string.h>

static int failures = 0;

static void check(int ok, const char* what, int line) {
    if (!ok) {
        fprintf(stderr, "nls_capi_test.c:%d: failed: %s\n", line, what);
        ++failures;
    }
}
#define CHECK(condition) check((condition) != 0, #condition, __LINE__)

static int same(const char* a, const char* b) {
    return a && b && strcmp(a, b) == 0;
}

/* Each signature, pinned: a change to one in the header fails this file's compilation. */
static const struct {
    int (*api_version)(void);
    int (*database_create)(const char*, const char*, nls_database**);
    void (*database_destroy)(nls_database*);
    const char* (*database_language)(const nls_database*);
    const char* (*gettext)(const nls_database*, const char*);
    const char* (*ngettext)(const nls_database*, const char*, const char*, unsigned long);
    const char* (*pgettext)(const nls_database*, const char*, const char*);
    const char* (*npgettext)(const nls_database*, const char*, const char*, const char*,
                             unsigned long);
    const char* (*dgettext)(const char*, const char*);
    const char* (*dngettext)(const char*, const char*, const char*, unsigned long);
    const char* (*dpgettext)(const char*, const char*, const char*);
    const char* (*dnpgettext)(const char*, const char*, const char*, const char*, unsigned long);
    const char* (*textdomain)(const char*);
    int (*set_language)(const char*);
    const char* (*language)(void);
    const char* (*iso_name)(const char*);
    int (*list_languages)(const nls_database*, nls_language_callback, void*);
    int (*set_settings_key)(const char*);
    int (*set_display_language)(const char*);
    int (*get_display_language)(const char**);
    void (*set_report_handler)(nls_report_handler, void*);
} abi = {nls_api_version,
         nls_database_create,
         nls_database_destroy,
         nls_database_language,
         nls_gettext,
         nls_ngettext,
         nls_pgettext,
         nls_npgettext,
         nls_dgettext,
         nls_dngettext,
         nls_dpgettext,
         nls_dnpgettext,
         nls_textdomain,
         nls_set_language,
         nls_language,
         nls_iso_name,
         nls_list_languages,
         nls_set_settings_key,
         nls_set_display_language,
         nls_get_display_language,
         nls_set_report_handler};

struct reports {
    int count;
    int code;       /* of the last one */
    char text[200]; /* of the last one */
};

static int record_report(int code, const char* text, void* user) {
    struct reports* reports = (struct reports*)user;
    ++reports->count;
    reports->code = code;
    strncpy(reports->text, text, sizeof reports->text - 1);
    return 1;
}

/* Appends "name iso;" for each language listed. */
static void collect(const char* name, const char* iso_name, void* user) {
    char* list = (char*)user;
    if (strlen(list) + strlen(name) + strlen(iso_name) + 3 > 200) return;
    strcat(list, name);
    strcat(list, " ");
    strcat(list, iso_name);
    strcat(list, ";");
}

static const char* listed(const nls_database* database) {
    static char list[201];
    list[0] = '\0';
    CHECK(nls_list_languages(database, collect, list) == NLS_OK);
    return list;
}

/* The translations of one language; null where the message stays as it is. */
struct language {
    const char* chosen_as; /* what nls_set_language is given */
    const char* chosen;    /* what nls_language gives back: ISO names stay as they are */
    const char* name;      /* the database's language */
    const char* hello;
    const char* files[3]; /* for n = 0, 1, 5 */
    const char* open;     /* in the context "menu" */
    const char* items;    /* for n = 2 in the context "status" */
};

/* Every lookup in one language, through `database`, or the current domain for null, and through
   `domain`, or the current domain for null. */
static void check_lookups(const nls_database* database, const char* domain,
                          const struct language* l) {
    static const char* hello = "Hello, world!";
    static const char* file = "%lu file";
    static const char* files = "%lu files";
    static const char* open = "Open";
    static const char* item = "%lu item";
    static const char* items = "%lu items";
    static const unsigned long counts[3] = {0, 1, 5};
    int i;
    CHECK(same(nls_gettext(database, hello), l->hello));
    CHECK(same(nls_dgettext(domain, hello), l->hello));
    for (i = 0; i < 3; ++i) {
        CHECK(same(nls_ngettext(database, file, files, counts[i]), l->files[i]));
        CHECK(same(nls_dngettext(domain, file, files, counts[i]), l->files[i]));
    }
    CHECK(same(nls_pgettext(database, "menu", open), l->open));
    CHECK(same(nls_dpgettext(domain, "menu", open), l->open));
    CHECK(same(nls_npgettext(database, "status", item, items, 2), l->items));
    CHECK(same(nls_dnpgettext(domain, "status", item, items, 2), l->items));
    /* Misses give the very pointer passed in. */
    CHECK(nls_gettext(database, open) == open);
    CHECK(nls_dgettext(domain, open) == open);
    CHECK(nls_ngettext(database, item, items, 1) == item);
    CHECK(nls_dngettext(domain, item, items, 2) == items);
    CHECK(nls_pgettext(database, "status", open) == open);
    CHECK(nls_dpgettext(domain, "status", open) == open);
    CHECK(nls_npgettext(database, "menu", file, files, 1) == file);
    CHECK(nls_dnpgettext(domain, "menu", file, files, 7) == files);
}

int main(int argc, char** argv) {
    static const struct language languages[] = {
        {"de_DE.UTF-8",
         "German",
         "German",
         "Hallo, Welt!",
         {"%lu Dateien", "%lu Datei", "%lu Dateien"},
         "\303\226ffnen",
         "%lu Eintr\303\244ge"},
        {"fr-FR",
         "fr-FR",
         "French",
         "Bonjour, le monde !",
         {"%lu fichier", "%lu fichier", "%lu fichiers"},
         "Ouvrir",
         "%lu \303\251l\303\251ments"},
        {"C",
         "C",
         "C",
         "Hello, world!",
         {"%lu files", "%lu file", "%lu files"},
         "Open",
         "%lu items"},
        {"German",
         "German",
         "German",
         "Hallo, Welt!",
         {"%lu Dateien", "%lu Datei", "%lu Dateien"},
         "\303\226ffnen",
         "%lu Eintr\303\244ge"},
    };
    static const struct {
        const char* given;
        const char* iso_name;
    } iso_names[] = {
        {"German", "de-DE"},      {"pt_BR.UTF-8", "pt-BR"}, {"de-DE", "de-DE"},
        {"de_AT.UTF-8", "de-AT"}, {"check", "check"},       {"Klingon", "en-GB"},
    };
    static const struct {
        const char* given;
        const char* stored;
    } display_languages[] = {
        {"pt_BR.UTF-8", "Portuguese-BRA"}, {"de-DE", "German"}, {"Klingon", ""}, {"", ""}};
    struct reports reports = {0, 0, {0}};
    nls_database* database = NULL;
    nls_database* missing = NULL;
    const char* path;
    const char* stored = NULL;
    size_t i;

    if (argc != 2) {
        fprintf(stderr, "usage: nls_capi_test CATALOGUE-DIRECTORY\n");
        return 2;
    }
    CHECK(abi.api_version() == NLS_C_API_VERSION);
    nls_set_report_handler(record_report, &reports);

    /* Refusals, with the out-parameter cleared. */
    database = (nls_database*)&reports;
    CHECK(nls_database_create(argv[1], NULL, &database) == NLS_ERROR_ARGUMENT && !database);
    CHECK(nls_database_create(argv[1], "capi", NULL) == NLS_ERROR_ARGUMENT);
    CHECK(nls_set_language(NULL) == NLS_ERROR_ARGUMENT);
    CHECK(nls_list_languages(NULL, NULL, NULL) == NLS_ERROR_ARGUMENT);
    CHECK(nls_set_display_language(NULL) == NLS_ERROR_ARGUMENT);
    CHECK(nls_get_display_language(NULL) == NLS_ERROR_ARGUMENT);
    CHECK(nls_iso_name(NULL) == NULL && nls_database_language(NULL) == NULL);
    nls_database_destroy(NULL);

    /* The environment's language; the missing catalogue is reported to the C handler. */
    CHECK(nls_database_create(argv[1], "capi", &database) == NLS_OK && database);
    CHECK(reports.count == 0);
    CHECK(same(nls_database_language(database), "German"));
    CHECK(same(nls_language(), ""));
    CHECK(nls_database_create(argv[1], "missing", &missing) == NLS_OK && missing);
    CHECK(reports.count == 1 && reports.code == NLS_ERROR_CATALOG_LANGUAGE);
    CHECK(strncmp(reports.text, "NLS Warning: ", 13) == 0 && strstr(reports.text, "<missing>"));
    CHECK(nls_gettext(missing, languages[2].hello) == languages[2].hello);

    path = nls_textdomain("capi");
    CHECK(path && strstr(path, "German") && strstr(path, "capi.mo"));
    CHECK(nls_textdomain(NULL) == path);
    CHECK(nls_textdomain("nowhere") == NULL);

    /* A database lists its own catalogues; without one, a language needs every database's. */
    CHECK(same(listed(database), "French fr-FR;German de-DE;"));
    CHECK(same(listed(NULL), ""));
    nls_database_destroy(missing);
    CHECK(same(listed(NULL), "French fr-FR;German de-DE;"));

    reports.count = 0;
    for (i = 0; i < sizeof languages / sizeof languages[0]; ++i) {
        const struct language* l = &languages[i];
        CHECK(nls_set_language(l->chosen_as) == NLS_OK);
        CHECK(same(nls_language(), l->chosen));
        CHECK(same(nls_database_language(database), l->name));
        check_lookups(database, "capi", l);
        check_lookups(NULL, NULL, l);
    }
    CHECK(reports.count == 0);

    /* The language selection's own report: a process locale that cannot be set. */
    CHECK(nls_set_language("Klingon") == NLS_ERROR_LOCALE_SETUP);
    CHECK(reports.code == NLS_ERROR_LOCALE_SETUP && strstr(reports.text, "<Klingon>"));
    CHECK(same(nls_language(), "Klingon"));
    CHECK(nls_set_language("German") == NLS_OK);

    for (i = 0; i < sizeof iso_names / sizeof iso_names[0]; ++i)
        CHECK(same(nls_iso_name(iso_names[i].given), iso_names[i].iso_name));

    /* Without a key nothing is stored; with one, each value reads back as the library's name. */
    CHECK(nls_set_settings_key(NULL) == NLS_OK);
    CHECK(nls_set_display_language("German") == NLS_OK);
    CHECK(nls_get_display_language(&stored) == NLS_OK && same(stored, ""));
    CHECK(nls_set_settings_key("Software\\nls-tests\\capi") == NLS_OK);
    for (i = 0; i < sizeof display_languages / sizeof display_languages[0]; ++i) {
        CHECK(nls_set_display_language(display_languages[i].given) == NLS_OK);
        CHECK(nls_get_display_language(&stored) == NLS_OK &&
              same(stored, display_languages[i].stored));
    }
    CHECK(nls_set_settings_key(NULL) == NLS_OK);

    /* Back to the default handlers: the C handler hears nothing more. */
    reports.count = 0;
    nls_set_report_handler(NULL, NULL);
    CHECK(nls_database_create(argv[1], "missing", &missing) == NLS_OK);
    CHECK(reports.count == 0);
    nls_database_destroy(missing);
    nls_database_destroy(database);

    printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
