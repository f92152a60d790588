# Run first by `cmake --install`: notes each folder the install is about to
# make, the prefix itself included, so that the uninstall target can remove
# them again. Folders that are there already are not its to remove. Expects
# vorlex_folders (relative to the prefix) and vorlex_folder_record.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
foreach(folder IN LISTS vorlex_folders)
  set(path "$ENV{DESTDIR}${prefix}/${folder}")
  while(NOT EXISTS "${path}")
    file(APPEND "${vorlex_folder_record}" "${path}\n")
    get_filename_component(path "${path}" DIRECTORY)
  endwhile()
endforeach()
