# One static library per source folder; its sources are every .cpp/.h in the folder,
# so adding a module never means editing a build file.
function(qm_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  if(NOT sources MATCHES "\\.cpp")
    # A folder whose modules have not arrived yet still gives a library to link against.
    set(stub ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${stub} "")
    list(APPEND sources ${stub})
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# Seconds each test may run; the sanitizer build (scripts/sanitize.sh) raises it.
set(QM_TEST_TIMEOUT 120 CACHE STRING "Time limit of each test in seconds")

# One GoogleTest program per test folder; each test case runs as its own CTest test, headless.
# The test entry point (tests/support) gives every test its own settings, runtime and home
# folders and fails a test that touches the user's configuration folder.
function(qm_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} qm_test_main)
  target_compile_definitions(${name} PRIVATE
      QM_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      QM_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures"
      QM_PROGRAM_DIR="${QM_PROGRAM_DIR}")
  gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      PROPERTIES TIMEOUT ${QM_TEST_TIMEOUT} ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()

# A Google Benchmark program under bench/.
function(qm_bench name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# Optimises a library for size, but for speed the modules matching the HOT patterns (those that
# walk whole documents or trees); with ONLY patterns, just the modules matching them (a library
# of engines with a few windows). Start-up runs through window code all over the program, and
# every page of code it touches stays in memory.
function(qm_size_optimised target)
  cmake_parse_arguments(ARG "" "" "HOT;ONLY" ${ARGN})
  if(ARG_ONLY)
    foreach(pattern ${ARG_ONLY})
      file(GLOB small CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${pattern})
      if(small)
        set_source_files_properties(${small} PROPERTIES COMPILE_OPTIONS $<$<CONFIG:Release>:-Os>)
      endif()
    endforeach()
    return()
  endif()
  target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-Os>)
  foreach(pattern ${ARG_HOT})
    file(GLOB hot CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${pattern})
    if(hot)
      set_source_files_properties(${hot} PROPERTIES COMPILE_OPTIONS $<$<CONFIG:Release>:-O3>)
    endif()
  endforeach()
endfunction()
