// The program's version, kept here and nowhere else: the version resource,
// the about box, the installer and the names of the release files all come
// from these four numbers (the build reads them from this file).
#pragma once

#define TARIMOKU_VERSION_MAJOR 1
#define TARIMOKU_VERSION_MINOR 1
#define TARIMOKU_VERSION_RELEASE 1
#define TARIMOKU_VERSION_BUILD 34

#define TARIMOKU_VERSION_STR_(n) #n
#define TARIMOKU_VERSION_STR(n) TARIMOKU_VERSION_STR_(n)
// "1.1.1.34": the FileVersion and ProductVersion texts.
#define TARIMOKU_VERSION_TEXT                                                                \
    TARIMOKU_VERSION_STR(TARIMOKU_VERSION_MAJOR) "." TARIMOKU_VERSION_STR(TARIMOKU_VERSION_MINOR) "." \
    TARIMOKU_VERSION_STR(TARIMOKU_VERSION_RELEASE) "." TARIMOKU_VERSION_STR(TARIMOKU_VERSION_BUILD)
// "Version 1.11": the about box writes the minor and release numbers together.
#define TARIMOKU_VERSION_LABEL                                                                 \
    "Version " TARIMOKU_VERSION_STR(TARIMOKU_VERSION_MAJOR) "." TARIMOKU_VERSION_STR(TARIMOKU_VERSION_MINOR) \
    TARIMOKU_VERSION_STR(TARIMOKU_VERSION_RELEASE)
