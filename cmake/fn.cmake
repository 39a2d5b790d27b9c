# Helpers shared by every folder's CMakeLists.txt.

# Benchmarks want uninstrumented code: configure a separate host build with -DFN_SANITIZE=OFF.
option(FN_SANITIZE "Host build: sanitizers and fuzzer coverage on the portable units" ON)
if(FN_HOST)
  # Host build: portable units under AddressSanitizer and UndefinedBehaviorSanitizer.
  set(FN_SANITIZE_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  if(NOT FN_SANITIZE)
    set(FN_SANITIZE_FLAGS "")
  elseif(CMAKE_CXX_COMPILER_ID MATCHES Clang)
    # Coverage for the libFuzzer targets that link the portable units.
    list(APPEND FN_SANITIZE_FLAGS -fsanitize=fuzzer-no-link)
  endif()
  find_package(ZLIB REQUIRED)
  set(FN_ZLIB ZLIB::ZLIB)
else()
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(FN_ZLIB /usr/x86_64-w64-mingw32/lib/libz.a)
endif()
add_compile_options(-Wall -Wextra -Wno-unused-parameter)

# fn_portable_library(name SOURCES ... [LIBS ...]): builds in both configurations.
# On the host the sanitizers are on, so tests and fuzzers that link it are checked too.
function(fn_portable_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
  if(FN_HOST)
    target_compile_options(${name} PUBLIC ${FN_SANITIZE_FLAGS})
    target_link_options(${name} PUBLIC ${FN_SANITIZE_FLAGS})
  endif()
endfunction()

# fn_win32_library(name SOURCES ... [LIBS ...]): Windows configuration only.
function(fn_win32_library name)
  if(FN_HOST)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT A_SOURCES)
    return()  # a folder whose Win32 half has no units yet
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
endfunction()

# fn_test(name SOURCES ... LIBS ... [HOST] [WIN32]): one GoogleTest executable run by ctest.
# HOST tests build in the host configuration (sanitized), WIN32 tests in the Windows one
# (run under Wine through the crosscompiling emulator). Give both to build in each.
function(fn_test name)
  cmake_parse_arguments(A "HOST;WIN32" "" "SOURCES;LIBS" ${ARGN})
  if((FN_HOST AND NOT A_HOST) OR (NOT FN_HOST AND NOT A_WIN32))
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  if(FN_HOST)
    target_compile_options(${name} PRIVATE ${FN_SANITIZE_FLAGS})
    target_link_options(${name} PRIVATE ${FN_SANITIZE_FLAGS})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 ENVIRONMENT "FN_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()

# fn_fuzzer(name SOURCES ... LIBS ...): a libFuzzer target (host, clang only).
function(fn_fuzzer name)
  if(NOT FN_HOST OR NOT FN_SANITIZE OR NOT CMAKE_CXX_COMPILER_ID MATCHES Clang)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set_property(GLOBAL APPEND PROPERTY FN_FUZZERS ${name})
endfunction()

# fn_add_subfolders(): adds every folder beside the calling CMakeLists.txt that has its own
# (one folder per tool, one per benchmark).
function(fn_add_subfolders)
  file(GLOB dirs LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir ${dirs})
    if(EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# fn_program_bench(name source): a benchmark that starts the whole program under Wine (Windows
# configuration only): the application with its resources and the packed default skin its form
# data name, written to bin/ beside the program.
function(fn_program_bench name source)
  if(NOT FN_HOST)
    add_executable(${name} ${source} $<TARGET_OBJECTS:fn_app_resources>)
    target_link_libraries(${name} PRIVATE fn_app fn_fennick_skin)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  endif()
endfunction()
