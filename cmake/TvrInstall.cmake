# cmake --install: the program folder keeps its shape (the executable with DBF/, BD/ and
# the models beside it, since the program finds them beside itself) in <prefix>/lib/tvr,
# <prefix>/bin/tvr links to it, and the desktop files go below <prefix>/share.
include(GNUInstallDirs)

set(TVR_INSTALL_PROGRAM_DIR lib/tvr)

install(TARGETS tvr RUNTIME DESTINATION ${TVR_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${TVR_PROGRAM_DIR}/DBF ${TVR_PROGRAM_DIR}/BD DESTINATION ${TVR_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${TVR_PROGRAM_DIR}/MODELS DESTINATION ${TVR_INSTALL_PROGRAM_DIR})
install(FILES ${TVR_PROGRAM_DIR}/model.run DESTINATION ${TVR_INSTALL_PROGRAM_DIR} OPTIONAL)
install(DIRECTORY ${TVR_PROGRAM_DIR}/examples DESTINATION ${TVR_INSTALL_PROGRAM_DIR} OPTIONAL)
install(DIRECTORY ${TVR_DESKTOP_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR})

# The link is made at install time, against the prefix given then (--prefix), so that it
# stays relative and the installed tree can be moved or packaged (DESTDIR).
install(CODE "set(TVR_INSTALL_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
set(TVR_INSTALL_PROGRAM_DIR \"${TVR_INSTALL_PROGRAM_DIR}\")")
install(CODE [[
  set(_bin "${CMAKE_INSTALL_PREFIX}/${TVR_INSTALL_BINDIR}")
  file(RELATIVE_PATH _target "${_bin}" "${CMAKE_INSTALL_PREFIX}/${TVR_INSTALL_PROGRAM_DIR}/tvr")
  file(MAKE_DIRECTORY "$ENV{DESTDIR}${_bin}")
  message(STATUS "Installing: $ENV{DESTDIR}${_bin}/tvr -> ${_target}")
  file(CREATE_LINK "${_target}" "$ENV{DESTDIR}${_bin}/tvr" SYMBOLIC)
]])

# Outside a packaging (DESTDIR) the desktop's caches below the prefix are refreshed at
# once, so that the documents are known before the program's first start.
install(CODE "set(TVR_INSTALL_DATADIR \"${CMAKE_INSTALL_DATADIR}\")")
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    foreach(_update "update-mime-database:mime" "update-desktop-database:applications")
      string(REPLACE ":" ";" _update "${_update}")
      list(GET _update 0 _tool)
      list(GET _update 1 _folder)
      unset(_program)
      find_program(_program ${_tool} NO_CACHE)
      if(_program)
        message(STATUS "Running: ${_tool} ${CMAKE_INSTALL_PREFIX}/${TVR_INSTALL_DATADIR}/${_folder}")
        execute_process(COMMAND "${_program}" "${CMAKE_INSTALL_PREFIX}/${TVR_INSTALL_DATADIR}/${_folder}"
                        TIMEOUT 60)
      endif()
    endforeach()
  endif()
]])
