# Installing: `cmake --install build --prefix P`, and a Debian package from `cpack -G DEB` in the
# build folder. The layout (top-level CMakeLists.txt) under P:
#
#   bin/hxnoise                                     the tool
#   lib/hxnoise/libhxhost.so                        the stand-in host, private to hxnoise
#   lib/hxnoise/plug-ins/hxNoise.so                 the plug-in
#   lib/python3.X/dist-packages/hxnoise/            the Python package (import hxnoise)
#   share/hxnoise/examples/blob.obj                 the bundled example mesh
#   share/doc/hxnoise/                              the user's guide
#
# Every program finds the others by a path relative to itself ($ORIGIN run paths, and the
# relative folders of tools/scene/PluginFile.h), so the installed tree works wherever it is
# copied or moved, and nothing in it points back into the build tree.

function(hx_relative_rpath target from_dir)
  file(RELATIVE_PATH relative /prefix/${from_dir} /prefix/${HX_INSTALL_LIB_DIR})
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${relative}")
endfunction()

install(TARGETS hxhost LIBRARY DESTINATION ${HX_INSTALL_LIB_DIR})

install(TARGETS hxnoise RUNTIME DESTINATION ${HX_INSTALL_BIN_DIR})
hx_relative_rpath(hxnoise ${HX_INSTALL_BIN_DIR})

if(TARGET hxNoise)
  install(TARGETS hxNoise LIBRARY DESTINATION ${HX_INSTALL_PLUGIN_DIR})
  hx_relative_rpath(hxNoise ${HX_INSTALL_PLUGIN_DIR})
endif()

if(TARGET _hxnoise)
  install(TARGETS _hxnoise LIBRARY DESTINATION ${HX_PYTHON_DIR}/hxnoise)
  hx_relative_rpath(_hxnoise ${HX_PYTHON_DIR}/hxnoise)
  list(TRANSFORM HX_PYTHON_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/python/ OUTPUT_VARIABLE hx_python_files)
  install(FILES ${hx_python_files} DESTINATION ${HX_PYTHON_DIR}/hxnoise)
endif()

install(FILES ${PROJECT_SOURCE_DIR}/examples/blob.obj DESTINATION ${HX_INSTALL_DATA_DIR}/examples)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CONTRIBUTING.md
              ${PROJECT_SOURCE_DIR}/docs/performance.md
        DESTINATION ${HX_INSTALL_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/blob.png DESTINATION ${HX_INSTALL_DOC_DIR}/docs)

# The Debian package: /usr as the prefix, its library dependencies worked out by
# dpkg-shlibdeps, the Python ones named.
set(CPACK_PACKAGE_NAME hxnoise)
set(CPACK_PACKAGE_VENDOR "hxNoise")
set(CPACK_PACKAGE_CONTACT "hxNoise developers <hxnoise@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Noise deformer for the Maya 2012 host, with a stand-in host, a command-line tool and a Python module")
set(CPACK_PACKAGE_DESCRIPTION
    "hxNoise moves every point of a mesh by three fractal gradient-noise functions inside a deform space that a locator places. The package holds the plug-in, the hxnoise tool that runs it headless (meshes in, deformed meshes and a rendered viewport out) and the hxnoise Python module with the host's command words.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET _hxnoise)
  # The module is built for one Python: 3.11 in Debian 12.
  string(REGEX REPLACE "^([0-9]+)\\.([0-9]+)$" "\\1" hx_python_major "${HX_PYTHON_VERSION}")
  string(REGEX REPLACE "^([0-9]+)\\.([0-9]+)$" "\\2" hx_python_minor "${HX_PYTHON_VERSION}")
  math(EXPR hx_python_next_minor "${hx_python_minor} + 1")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "python3 (>= ${HX_PYTHON_VERSION}), python3 (<< ${hx_python_major}.${hx_python_next_minor}), python3-numpy")
endif()
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
