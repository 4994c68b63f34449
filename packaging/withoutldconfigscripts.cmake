# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack after it built the packages (CPACK_POST_BUILD_SCRIPTS): takes out of each the postinst
# and postrm that CPack wrote only to call ldconfig, which the package's ldconfig trigger runs instead.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  set(tree ${package}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  set(scripts)
  foreach(name postinst postrm)
    if(EXISTS ${tree}/DEBIAN/${name})
      file(READ ${tree}/DEBIAN/${name} text)
      # Only CPack's own: a script of ours would do more than ldconfig.
      string(REGEX REPLACE "#[^\n]*|if|then|fi|ldconfig|\\[ \"\\$1\" = \"[a-z]+\" \\]|set -e|;|[ \t\n]" "" rest "${text}")
      if(NOT rest STREQUAL "")
        message(FATAL_ERROR "${name} of ${package} does more than call ldconfig:\n${text}")
      endif()
      list(APPEND scripts ${tree}/DEBIAN/${name})
    endif()
  endforeach()
  if(scripts)
    file(REMOVE ${scripts})
    execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${package}
      OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(REMOVE_RECURSE ${tree})
endforeach()
