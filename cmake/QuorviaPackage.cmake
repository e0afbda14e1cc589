# The installable package: headers, the library, QuorviaConfig.cmake with the exported
# Quorvia::quorvia target, quorvia.pc for pkg-config, and the dependency list all three
# share.
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

# The runtime's dependencies: every pkg-config module found at the top of CMakeLists.txt
# (each `pkg_check_modules(PREFIX REQUIRED IMPORTED_TARGET module)` line there), then
# OpenGL, threads and the dynamic loader (on Windows the system libraries of
# src/platform/windows/). The link line, the CMake package and the
# pkg-config file are all made from this one list.
function(qrv_runtime_dependencies out)
  get_property(imported DIRECTORY ${PROJECT_SOURCE_DIR} PROPERTY IMPORTED_TARGETS)
  set(deps "")
  foreach(target IN LISTS imported)
    if(target MATCHES "^PkgConfig::")
      list(APPEND deps ${target})
    endif()
  endforeach()
  # (The browser's GL is emscripten's own, linked by its flags: no OpenGL target there.)
  if(NOT EMSCRIPTEN)
    list(APPEND deps OpenGL::GL)
  endif()
  list(APPEND deps Threads::Threads ${CMAKE_DL_LIBS})
  if(WIN32)
    # Winsock 2, the shell's folders and "open", COM memory, the file dialogs, keyboard
    # layouts, and the known-folder ids.
    list(APPEND deps ws2_32 shell32 ole32 comdlg32 user32 uuid)
  endif()
  set(${out} ${deps} PARENT_SCOPE)
endfunction()

# Turns the dependency list into what a consumer needs to recreate it: lines for
# QuorviaConfig.cmake and the Requires and Libs of quorvia.pc.
function(qrv_describe_dependencies deps)
  set(config "")
  set(requires "")
  set(libs "")
  foreach(dep IN LISTS deps)
    if(dep MATCHES "^PkgConfig::(.+)$")
      set(prefix ${CMAKE_MATCH_1})
      set(module ${${prefix}_MODULE_NAME})
      if(NOT module)
        message(FATAL_ERROR "No pkg-config module name known for ${dep}")
      endif()
      string(APPEND config "quorvia_pkg_dependency(${prefix} ${module})\n")
      list(APPEND requires ${module})
    elseif(dep STREQUAL "OpenGL::GL")
      string(APPEND config "set(OpenGL_GL_PREFERENCE GLVND)\nfind_dependency(OpenGL)\n")
      if(WIN32)
        list(APPEND libs -lopengl32)  # Windows' own library; it has no pkg-config module
      else()
        list(APPEND requires gl)
      endif()
    elseif(dep STREQUAL "Threads::Threads")
      string(APPEND config "find_dependency(Threads)\n")
      list(APPEND libs -pthread)
    elseif(dep MATCHES "::")
      message(FATAL_ERROR "${dep}: teach cmake/QuorviaPackage.cmake how a consumer finds it")
    else()
      list(APPEND libs -l${dep})
    endif()
  endforeach()
  list(JOIN requires " " requires)
  list(JOIN libs " " libs)
  set(QRV_CONFIG_DEPENDENCIES "${config}" PARENT_SCOPE)
  set(QRV_PC_REQUIRES "${requires}" PARENT_SCOPE)
  set(QRV_PC_LIBS "${libs}" PARENT_SCOPE)
endfunction()

# Install rules for the library target, its headers, the CMake package and quorvia.pc.
function(qrv_install_package target deps)
  qrv_describe_dependencies("${deps}")
  install(TARGETS ${target} EXPORT QuorviaTargets
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
          INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/quorvia
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

  set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Quorvia)
  install(EXPORT QuorviaTargets NAMESPACE Quorvia:: DESTINATION ${config_dir})
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/QuorviaConfig.cmake.in
    ${PROJECT_BINARY_DIR}/QuorviaConfig.cmake INSTALL_DESTINATION ${config_dir})
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuorviaConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
  install(FILES ${PROJECT_BINARY_DIR}/QuorviaConfig.cmake
                ${PROJECT_BINARY_DIR}/QuorviaConfigVersion.cmake
          DESTINATION ${config_dir})

  # The .pc file finds the prefix from its own place, so the installed tree can move.
  file(RELATIVE_PATH QRV_PC_PREFIX /p/${CMAKE_INSTALL_LIBDIR}/pkgconfig /p)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/quorvia.pc.in ${PROJECT_BINARY_DIR}/quorvia.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/quorvia.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endfunction()
