# `cpack -G DEB` in a build folder makes two Debian packages of what `cmake --install` puts under
# /usr: "bellwick" (the host, its libraries, the plug-in, translations and examples) and
# "bellwick-dev" (headers and the CMake package for plug-ins built against it).
set(CPACK_PACKAGE_NAME bellwick)
set(CPACK_PACKAGE_VENDOR Bellwick)
set(CPACK_PACKAGE_CONTACT "Bellwick maintainers <maintainers@bellwick.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_COMPONENTS_ALL runtime development)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

# Each description's first line is its package's summary.
string(CONCAT CPACK_COMPONENT_RUNTIME_DESCRIPTION
  "Bellwick reference host with the PythonScript plug-in\n"
  "bellwick runs host scripts and Python code headless or in its main window, where the "
  "PythonScript plug-in adds a dockable Python console.")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME bellwick)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION graphics)
# The linked libraries (Qt 6, libpython) are read off the binaries; the Qt plug-ins that are
# loaded at run time are not: the window's platform and the console's SVG icons.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_RECOMMENDS "qt6-translations-l10n")

string(CONCAT CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "Bellwick plug-in development files\n"
  "Headers and the CMake package (find_package(Bellwick)) of the host's services, its script "
  "engine and its Python embedding layer, with an example plug-in.")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME bellwick-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
  "bellwick (= ${PROJECT_VERSION}), qt6-base-dev, libpython${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}-dev")

include(CPack)
