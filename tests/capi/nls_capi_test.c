/* Every function of the C interface, called from C: the domain "capi", with German and French
   catalogues under the directory given, and "missing", without any. ctest runs it with
   LC_ALL=de_DE.UTF-8. */

#include <nls/nls.h>

#include <stdio.h>
#include <string.h>

static int failures = 0;
#define CHECK(ok)                                                                                  \
    ((ok) ? (void)0 : (void)(fprintf(stderr, "line %d: %s\n", __LINE__, #ok), ++failures))

static int same(const char* a, const char* b) {
    return a && b && strcmp(a, b) == 0;
}

static int reports = 0, last_code = 0; /* the code of the last one */
static char last_text[200];

static int record_report(int code, const char* text, void* user) {
    ++*(int*)user;
    last_code = code;
    strncpy(last_text, text, sizeof last_text - 1);
    return 1;
}

static void collect(const char* name, const char* iso_name, void* user) {
    char* list = (char*)user;
    if (strlen(list) + strlen(name) + strlen(iso_name) < 190)
        sprintf(list + strlen(list), "%s %s;", name, iso_name);
}

static const char* listed(const nls_database* database) {
    static char list[200];
    list[0] = '\0';
    CHECK(nls_list_languages(database, collect, list) == NLS_OK);
    return list;
}

/* A language as nls_set_language is given it and as nls_language and a database name it, and
   its translations: the greeting, "%lu file" for n = 0, 1 and 5, "Open" in the context "menu",
   "%lu item" for n = 2 in the context "status". */
struct language {
    const char *chosen_as, *chosen, *name, *hello, *files[3], *open, *items;
};

/* Every lookup through `database` (null: the current domain) and `domain` (null: the same);
   misses give the very pointer passed in. */
static void check_lookups(const nls_database* db, const char* domain, const struct language* l) {
    static const unsigned long counts[3] = {0, 1, 5};
    static const char *file = "%lu file", *files = "%lu files", *item = "%lu item",
                      *items = "%lu items", *open = "Open", *hello = "Hello, world!";
    int i;
    CHECK(same(nls_gettext(db, hello), l->hello) && same(nls_dgettext(domain, hello), l->hello));
    for (i = 0; i < 3; ++i) {
        CHECK(same(nls_ngettext(db, file, files, counts[i]), l->files[i]));
        CHECK(same(nls_dngettext(domain, file, files, counts[i]), l->files[i]));
    }
    CHECK(same(nls_pgettext(db, "menu", open), l->open));
    CHECK(same(nls_dpgettext(domain, "menu", open), l->open));
    CHECK(same(nls_npgettext(db, "status", item, items, 2), l->items));
    CHECK(same(nls_dnpgettext(domain, "status", item, items, 2), l->items));
    CHECK(nls_gettext(db, open) == open && nls_dgettext(domain, open) == open);
    CHECK(nls_ngettext(db, item, items, 1) == item &&
          nls_dngettext(domain, item, items, 2) == items);
    CHECK(nls_pgettext(db, "status", open) == open &&
          nls_dpgettext(domain, "status", open) == open);
    CHECK(nls_npgettext(db, "menu", file, files, 1) == file);
    CHECK(nls_dnpgettext(domain, "menu", file, files, 7) == files);
}

int main(int argc, char** argv) {
    /* clang-format off */
    static const struct language languages[] = {
        {"de_DE.UTF-8", "German", "German", "Hallo, Welt!",
         {"%lu Dateien", "%lu Datei", "%lu Dateien"}, "\303\226ffnen", "%lu Eintr\303\244ge"},
        {"fr-FR", "fr-FR", "French", "Bonjour, le monde !",
         {"%lu fichier", "%lu fichier", "%lu fichiers"}, "Ouvrir", "%lu \303\251l\303\251ments"},
        {"C", "C", "C", "Hello, world!", {"%lu files", "%lu file", "%lu files"}, "Open", "%lu items"},
    };
    static const char* iso_names[][2] = {
        {"German", "de-DE"}, {"pt_BR.UTF-8", "pt-BR"}, {"de-DE", "de-DE"},
        {"de_AT.UTF-8", "de-AT"}, {"check", "check"}, {"Klingon", "en-GB"}};
    /* Display languages as given and as read back. */
    static const char* stored_as[][2] = {
        {"pt_BR.UTF-8", "Portuguese-BRA"}, {"de-DE", "German"}, {"Klingon", ""}, {"", ""}};
    /* clang-format on */
    nls_database *database = (nls_database*)&reports, *missing = NULL;
    const char *path, *stored = NULL;
    size_t i;

    if (argc != 2) return 2;
    CHECK(nls_api_version() == NLS_C_API_VERSION);
    nls_set_report_handler(record_report, &reports);
    CHECK(nls_database_create(argv[1], NULL, &database) == NLS_ERROR_ARGUMENT && !database);
    CHECK(nls_database_create(argv[1], "capi", NULL) == NLS_ERROR_ARGUMENT);
    CHECK(nls_set_language(NULL) == NLS_ERROR_ARGUMENT);
    CHECK(nls_list_languages(NULL, NULL, NULL) == NLS_ERROR_ARGUMENT);
    CHECK(nls_set_display_language(NULL) == NLS_ERROR_ARGUMENT);
    CHECK(nls_get_display_language(NULL) == NLS_ERROR_ARGUMENT);
    CHECK(nls_iso_name(NULL) == NULL && nls_database_language(NULL) == NULL);
    nls_database_destroy(NULL);

    /* The environment's language; the missing catalogue is reported to the C handler, unless the
       language is the program's own, which needs no catalogue. */
    CHECK(nls_database_create(argv[1], "capi", &database) == NLS_OK && database);
    CHECK(reports == 0 && same(nls_database_language(database), "German"));
    CHECK(same(nls_language(), ""));
    CHECK(nls_database_create(argv[1], "missing", &missing) == NLS_OK && missing);
    CHECK(reports == 1 && last_code == NLS_ERROR_CATALOG_LANGUAGE);
    CHECK(strncmp(last_text, "NLS Warning: ", 13) == 0 && strstr(last_text, "<missing>"));
    CHECK(nls_gettext(missing, languages[2].hello) == languages[2].hello);
    CHECK(nls_set_source_language("de") == NLS_OK);
    nls_database_destroy(missing);
    CHECK(nls_database_create(argv[1], "missing", &missing) == NLS_OK && reports == 1);
    CHECK(nls_set_source_language(NULL) == NLS_OK);

    CHECK(nls_bind_textdomain_codeset("capi", NULL) == NULL);
    CHECK(same(nls_bind_textdomain_codeset("capi", "UTF-8"), "UTF-8"));
    CHECK(same(nls_bind_textdomain_codeset("capi", NULL), "UTF-8"));
    path = nls_textdomain("capi");
    CHECK(path && strstr(path, "/de/LC_MESSAGES/capi.mo"));
    CHECK(nls_textdomain(NULL) == path && nls_textdomain("nowhere") == NULL);

    /* A database lists its own catalogues; without one, a language needs every database's. */
    CHECK(same(listed(database), "French fr-FR;German de-DE;"));
    CHECK(same(listed(NULL), ""));
    nls_database_destroy(missing);
    CHECK(same(listed(NULL), "French fr-FR;German de-DE;"));

    reports = 0;
    for (i = 0; i < sizeof languages / sizeof languages[0]; ++i) {
        CHECK(nls_set_language(languages[i].chosen_as) == NLS_OK);
        CHECK(same(nls_language(), languages[i].chosen));
        CHECK(same(nls_database_language(database), languages[i].name));
        check_lookups(database, "capi", &languages[i]);
        check_lookups(NULL, NULL, &languages[i]);
    }
    CHECK(reports == 0);
    /* The language selection's own report: a process locale that cannot be set. */
    CHECK(nls_set_language("Klingon") == NLS_ERROR_LOCALE_SETUP);
    CHECK(last_code == NLS_ERROR_LOCALE_SETUP && strstr(last_text, "<Klingon>"));
    CHECK(same(nls_language(), "Klingon") && nls_set_language("German") == NLS_OK);

    /* In another codeset once it is bound. */
    CHECK(same(nls_bind_textdomain_codeset("capi", "ISO-8859-1"), "ISO-8859-1"));
    CHECK(same(nls_pgettext(database, "menu", "Open"), "\326ffnen"));
    CHECK(same(nls_bind_textdomain_codeset("capi", "UTF-8"), "UTF-8"));

    for (i = 0; i < sizeof iso_names / sizeof iso_names[0]; ++i)
        CHECK(same(nls_iso_name(iso_names[i][0]), iso_names[i][1]));

    /* Without a key nothing is stored. */
    CHECK(nls_set_settings_key(NULL) == NLS_OK && nls_set_display_language("German") == NLS_OK);
    CHECK(nls_get_display_language(&stored) == NLS_OK && same(stored, ""));
    CHECK(nls_set_settings_key("Software\\nls-tests\\capi") == NLS_OK);
    for (i = 0; i < sizeof stored_as / sizeof stored_as[0]; ++i) {
        CHECK(nls_set_display_language(stored_as[i][0]) == NLS_OK);
        CHECK(nls_get_display_language(&stored) == NLS_OK && same(stored, stored_as[i][1]));
    }
    CHECK(nls_set_settings_key(NULL) == NLS_OK);

    /* Back to the default handlers: the C handler hears nothing more. */
    reports = 0;
    nls_set_report_handler(NULL, NULL);
    CHECK(nls_database_create(argv[1], "missing", &missing) == NLS_OK && reports == 0);
    nls_database_destroy(missing);
    nls_database_destroy(database);
    printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
