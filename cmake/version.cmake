# The version the program is built as, on the desktop and for Windows; the
# Debian package's is debian/changelog's.
set(VORLEX_VERSION 1.0)
