# Run by `cmake --install`: writes the desktop entry from its template, with
# the launcher's absolute path, which is known only once the prefix is.
# Expects desktop_template, desktop_id and VORLEX_WM_CLASS to be set.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)

# Exec takes the path as one quoted argument, in which \ " ` and $ are
# escaped with a backslash and % is doubled; as a desktop-entry string, each
# backslash is then written twice again.
set(exec "${prefix}/bin/vorlex")
# TryExec: the bare path, as a desktop-entry string; a list hides the entry
# once the launcher has gone.
string(REPLACE [[\]] [[\\]] VORLEX_TRYEXEC "${exec}")
string(REPLACE [[\]] [[\\]] exec "${exec}")
foreach(special [["]] [[`]] [[$]])
  string(REPLACE "${special}" "\\${special}" exec "${exec}")
endforeach()
string(REPLACE "%" "%%" exec "${exec}")
string(REPLACE [[\]] [[\\]] exec "${exec}")
set(VORLEX_EXEC "\"${exec}\"")

set(entry "$ENV{DESTDIR}${prefix}/share/applications/${desktop_id}.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${desktop_template}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
