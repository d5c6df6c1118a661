# What `cmake --install` puts under the prefix: bellwick and its libraries, the plug-in in a folder
# of its own with its resources beside it, the examples, and, for plug-ins built elsewhere, the
# headers with the exported targets and their package configuration (find_package(Bellwick)).
# Two components: "runtime" runs the host, "development" builds against it.
include(CMakePackageConfigHelpers)

# The installed tree finds its libraries from wherever it is unpacked.
set_target_properties(bellwick-host QtScriptCompat PythonQtCompat PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(bellwick PROPERTIES INSTALL_RPATH "$ORIGIN/${BELLWICK_BIN_TO_LIB}")
set_target_properties(PythonScript PROPERTIES INSTALL_RPATH "$ORIGIN/${BELLWICK_PLUGIN_TO_LIB}")
# A Python outside the system's library folders (a pyenv build, say) stays where it is: its folder
# joins the run paths of the libraries that link it.
set_target_properties(PythonQtCompat PythonScript PROPERTIES INSTALL_RPATH_USE_LINK_PATH TRUE)

install(TARGETS bellwick RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
# Exported as Bellwick::Host, Bellwick::QtScriptCompat and Bellwick::PythonQtCompat.
set_target_properties(bellwick-host PROPERTIES EXPORT_NAME Host)
install(TARGETS bellwick-host QtScriptCompat PythonQtCompat EXPORT BellwickTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime
  INCLUDES DESTINATION ${BELLWICK_INSTALL_INCLUDEDIR})
install(TARGETS PythonScript LIBRARY DESTINATION ${BELLWICK_INSTALL_PLUGINSDIR}/PythonScript COMPONENT runtime)
install(DIRECTORY src/Plugins/PythonScript/resources
  DESTINATION ${BELLWICK_INSTALL_PLUGINSDIR}/PythonScript COMPONENT runtime)

file(GLOB _bellwick_examples CONFIGURE_DEPENDS examples/*.js examples/*.py)
install(FILES ${_bellwick_examples} DESTINATION ${BELLWICK_INSTALL_EXAMPLESDIR} COMPONENT runtime)
install(DIRECTORY examples/plugin DESTINATION ${BELLWICK_INSTALL_EXAMPLESDIR} COMPONENT development)

file(GLOB _bellwick_public_headers CONFIGURE_DEPENDS
  host/include/* qtscript/include/* pythonqt/include/*)
install(FILES ${_bellwick_public_headers} DESTINATION ${BELLWICK_INSTALL_INCLUDEDIR} COMPONENT development)
install(EXPORT BellwickTargets NAMESPACE Bellwick::
  DESTINATION ${BELLWICK_INSTALL_CMAKEDIR} COMPONENT development)
configure_package_config_file(cmake/BellwickConfig.cmake.in ${PROJECT_BINARY_DIR}/BellwickConfig.cmake
  INSTALL_DESTINATION ${BELLWICK_INSTALL_CMAKEDIR}
  PATH_VARS BELLWICK_INSTALL_PLUGINSDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/BellwickConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/BellwickConfig.cmake ${PROJECT_BINARY_DIR}/BellwickConfigVersion.cmake
  DESTINATION ${BELLWICK_INSTALL_CMAKEDIR} COMPONENT development)
