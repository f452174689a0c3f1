# One library per layer: every .cpp in the folder (and, for Qt layers, in qt/) belongs to it.
# Globbing with CONFIGURE_DEPENDS lets a new file join its layer without touching CMake.
function(tessival_layer name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;SOURCE_DIRS" ${ARGN})
  set(sources)
  set(dirs ${CMAKE_CURRENT_SOURCE_DIR} ${ARG_SOURCE_DIRS})
  foreach(dir IN LISTS dirs)
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
    list(APPEND sources ${found})
  endforeach()
  list(FILTER sources INCLUDE REGEX "\\.cpp$|\\.h$")
  set(cpp_sources ${sources})
  list(FILTER cpp_sources INCLUDE REGEX "\\.cpp$")
  if(cpp_sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()

# One GoogleTest executable per layer, made of every *_test.cpp in tests/<layer>/.
function(tessival_layer_tests layer)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER test_sources EXCLUDE REGEX "/data/")
  if(NOT test_sources)
    return()
  endif()
  set(target ${layer}_tests)
  add_executable(${target} ${test_sources})
  target_link_libraries(${target} PRIVATE ${ARG_DEPENDS} GTest::gmock GTest::gtest_main)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE
    TESSIVAL_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
    TESSIVAL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${target}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS ${layer}
    DISCOVERY_TIMEOUT 60)
endfunction()
