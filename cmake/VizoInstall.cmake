# Install layout. Bramble, Trellis and Lumen are private to the viewer: their
# interfaces follow the application's needs and change with it, so they are
# installed without headers or development symlinks, in a folder of their own
# under the library directory, and the programs find them through a run path
# relative to their own location. The tree then works at any prefix (and
# under DESTDIR) without ld.so.conf or LD_LIBRARY_PATH.
include(GNUInstallDirs)

set(VIZO_INSTALL_PRIVATE_LIBDIR "${CMAKE_INSTALL_LIBDIR}/vizo-viewer" CACHE STRING
  "Where Bramble, Trellis and Lumen go, relative to the install prefix")

if(IS_ABSOLUTE "${VIZO_INSTALL_PRIVATE_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
  # An absolute folder stays where it is whatever the prefix.
  set(VIZO_INSTALL_RPATH "${VIZO_INSTALL_PRIVATE_LIBDIR}")
else()
  file(RELATIVE_PATH _vizo_bin_to_lib "/${CMAKE_INSTALL_BINDIR}" "/${VIZO_INSTALL_PRIVATE_LIBDIR}")
  set(VIZO_INSTALL_RPATH "$ORIGIN/${_vizo_bin_to_lib}")
endif()

# A shared library of the project: versioned soname, no namelink, no headers.
function(vizo_install_private_library target)
  install(TARGETS ${target}
    LIBRARY DESTINATION "${VIZO_INSTALL_PRIVATE_LIBDIR}" NAMELINK_SKIP)
endfunction()

# A program: into the bin folder, finding the private libraries from there.
function(vizo_install_program target)
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "${VIZO_INSTALL_RPATH}")
  install(TARGETS ${target} RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
endfunction()
