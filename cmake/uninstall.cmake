# `cmake --build BUILD --target uninstall`: removes the files the last
# install from BUILD put in place (install_manifest.txt), then every folder an
# install from it made (install_folders.txt), deepest first, where it is empty.
# Expects build.
set(manifest "${build}/install_manifest.txt")
set(record "${build}/install_folders.txt")
if(NOT EXISTS "${manifest}")
  message(FATAL_ERROR "uninstall: nothing was installed from ${build} (no install_manifest.txt)")
endif()
file(STRINGS "${manifest}" files)
foreach(file IN LISTS files)
  if(EXISTS "${file}" OR IS_SYMLINK "${file}")
    message(STATUS "Removing: ${file}")
    file(REMOVE "${file}")
  endif()
endforeach()
if(EXISTS "${record}")
  file(STRINGS "${record}" folders)
  list(REMOVE_DUPLICATES folders)
  # A folder sorts before what it holds: reversed, the deepest come first.
  list(SORT folders)
  list(REVERSE folders)
  foreach(folder IN LISTS folders)
    if(IS_DIRECTORY "${folder}")
      # rmdir removes only an empty folder: anything put there since stays.
      execute_process(COMMAND rmdir "${folder}" RESULT_VARIABLE kept ERROR_QUIET)
      if(kept EQUAL 0)
        message(STATUS "Removing: ${folder}/")
      endif()
    endif()
  endforeach()
  file(REMOVE "${record}")
endif()
