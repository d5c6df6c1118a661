# bellwick_add_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# A Qt Test program registered with CTest, run offscreen and in English whatever the user's
# locale (LANGUAGE comes first when Qt picks a translation).
function(bellwick_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANGUAGE=en;BELLWICK_BIN_DIR=${CMAKE_BINARY_DIR}/bin;BELLWICK_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()

# bellwick_test_support(<folder>...): the support libraries of tests/<folder>/support, added once
# by whichever folder needs them first, so that every test folder also builds alone.
function(bellwick_test_support)
  foreach(folder IN LISTS ARGN)
    get_property(added GLOBAL PROPERTY BELLWICK_TEST_SUPPORT_${folder})
    if(NOT added)
      set_property(GLOBAL PROPERTY BELLWICK_TEST_SUPPORT_${folder} TRUE)
      add_subdirectory(${PROJECT_SOURCE_DIR}/tests/${folder}/support ${PROJECT_BINARY_DIR}/tests/${folder}/support)
    endif()
  endforeach()
endfunction()

# Adds every direct subfolder of the current source folder that has a CMakeLists.txt, except a
# "support" folder (its users add it).
function(bellwick_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(NOT child STREQUAL "support" AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
