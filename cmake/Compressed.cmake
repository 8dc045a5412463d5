# Manual pages and the changelog are installed compressed the way Debian
# wants them: gzip -9 without the file's name and time, so that the same text
# always gives the same bytes.
find_program(MARLO_GZIP gzip)
if(NOT MARLO_GZIP)
  message(FATAL_ERROR "gzip compresses the manual pages and the changelog")
endif()

# Installs source compressed into destination; a source whose name ends in
# ".in" first gets the project's values filled in (@PROJECT_VERSION@, ...).
function(marlo_install_compressed source destination)
  get_filename_component(name ${source} NAME)
  string(REGEX REPLACE "\\.in$" "" name ${name})
  set(plain ${CMAKE_CURRENT_BINARY_DIR}/${name})
  if(source MATCHES "\\.in$")
    configure_file(${source} ${plain} @ONLY)
  else()
    configure_file(${source} ${plain} COPYONLY)
  endif()
  string(MAKE_C_IDENTIFIER ${name} target)
  add_custom_command(OUTPUT ${plain}.gz
    COMMAND ${MARLO_GZIP} -9nkf ${plain}
    DEPENDS ${plain}
    COMMENT "Compressing ${name}")
  add_custom_target(marlo_compress_${target} ALL DEPENDS ${plain}.gz)
  install(FILES ${plain}.gz DESTINATION ${destination})
endfunction()

function(marlo_install_manual_page source)
  marlo_install_compressed(${source} ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
