/* Sets the title, subject and template of a Windows installer package's
 * summary, which wixl leaves at "Installation Database", the package's
 * description and language 1033:
 *
 *   set_summary PACKAGE.msi TITLE SUBJECT TEMPLATE
 *
 * Built and run by scripts/build-msi.sh with libmsi, the library wixl uses.
 * The texts must be ASCII: libmsi writes them in the package's code page. */
#include <libmsi.h>
#include <stdio.h>

static int fail(const char* what, GError* error) {
  fprintf(stderr, "set_summary: %s: %s\n", what, error ? error->message : "failed");
  if (error) g_error_free(error);
  return 1;
}

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: set_summary PACKAGE.msi TITLE SUBJECT TEMPLATE\n");
    return 2;
  }
  GError* error = NULL;
  LibmsiDatabase* db = libmsi_database_new(argv[1], LIBMSI_DB_FLAGS_TRANSACT, NULL, &error);
  if (!db) return fail(argv[1], error);
  LibmsiSummaryInfo* summary = libmsi_summary_info_new(db, 2, &error);
  int code = 0;
  if (!summary) {
    code = fail("the summary", error);
  } else {
    if (!libmsi_summary_info_set_string(summary, LIBMSI_PROPERTY_TITLE, argv[2], &error) ||
        !libmsi_summary_info_set_string(summary, LIBMSI_PROPERTY_SUBJECT, argv[3], &error) ||
        !libmsi_summary_info_set_string(summary, LIBMSI_PROPERTY_TEMPLATE, argv[4], &error) ||
        !libmsi_summary_info_persist(summary, &error) || !libmsi_database_commit(db, &error)) {
      code = fail("writing the summary", error);
    }
    g_object_unref(summary);
  }
  g_object_unref(db);
  return code;
}
