# Shared build settings and helpers for every folder.

set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

# Warnings are errors in ./test (CMAKE_COMPILE_WARNING_AS_ERROR), not in a user's own build, where a
# newer or older compiler's new warning must not stop the console from building.
add_compile_options(-Wall -Wextra)

if(K417B_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(K417B_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# The fuzz build instruments every library for coverage, so a target that links the console
# (the preset import) is guided through its code too.
if(K417B_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# k417b_library(<folder> SOURCES ... DEPS ...)
# One static library per folder, named k417b_<folder>, includes relative to the repository root.
function(k417b_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(k417b_${name} STATIC ${ARG_SOURCES})
  target_include_directories(k417b_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(k417b_${name} PUBLIC ${ARG_DEPS} Threads::Threads)
endfunction()

# k417b_test(<name> [THREADED] SOURCES ... DEPS ...)
# One GoogleTest binary; THREADED tests are also built and run under TSan.
function(k417b_test name)
  cmake_parse_arguments(ARG "THREADED" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set(labels unit)
  if(ARG_THREADED)
    set(labels threaded)
    add_dependencies(threaded_tests ${name})
  endif()
  set_tests_properties(${name} PROPERTIES
    LABELS "${labels}"
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;K417B_BUILD_DIR=${PROJECT_BINARY_DIR}"
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

# k417b_bench(<name> SOURCES ... DEPS ...): Google Benchmark program, never part of the test run.
function(k417b_bench name)
  if(NOT K417B_BENCH OR K417B_SANITIZE)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main Threads::Threads)
endfunction()

find_program(K417B_CCACHE ccache)
if(K417B_CCACHE)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${K417B_CCACHE})
endif()

# k417b_folder_library(<name> DEPS ...): every .cpp of the calling folder but main.cpp,
# so adding a file needs no edit here.
function(k417b_folder_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  foreach(ex ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "/${ex}$")
  endforeach()
  if(NOT sources MATCHES "\\.cpp")
    # A folder whose code has not landed yet still yields a library its dependents can link.
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/empty.cpp "// This folder has no sources yet.\n")
    list(APPEND sources ${CMAKE_CURRENT_BINARY_DIR}/empty.cpp)
  endif()
  k417b_library(${name} SOURCES ${sources} DEPS ${ARG_DEPS})
endfunction()

# Adds every subfolder of the calling folder that has a CMakeLists.txt.
function(k417b_add_subfolders)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
