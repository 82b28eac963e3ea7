# A library made of every .cpp below the given folders; a header-only placeholder
# until the first source file exists, so that the tree always configures.
function(tavisk_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;EXCLUDE;LIBS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  foreach(pattern IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
endfunction()

# A test program: built beside the other test programs, not in the program
# folder, yet reading the program folder's files as the game does.
function(tavisk_test_program target)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/programfolder.cpp)
  target_compile_definitions(${target} PRIVATE TAVISK_PROGRAM_FOLDER="${TAVISK_BIN_DIR}")
  target_link_libraries(${target} PRIVATE tavisk_engine)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAVISK_TEST_BIN_DIR})
endfunction()

# One GoogleTest program per test folder, linked against the given libraries.
# It runs in the program folder, where the game's files are.
function(tavisk_test_dir dir)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${dir} ${sources})
  target_link_libraries(test_${dir} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main GTest::gmock)
  tavisk_test_program(test_${dir})
  gtest_discover_tests(test_${dir}
    WORKING_DIRECTORY ${TAVISK_BIN_DIR}
    PROPERTIES LABELS ${dir} ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 120)
endfunction()
