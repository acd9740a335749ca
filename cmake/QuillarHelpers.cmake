# Compiler flags shared by every target of the project.
add_library(quillar_options INTERFACE)
target_compile_options(quillar_options INTERFACE -Wall -Wextra -Wpedantic)
if(QUILLAR_WERROR)
  target_compile_options(quillar_options INTERFACE -Werror)
endif()
# GCC 12 reports std::variant and QString moves as maybe-uninitialized once they
# are inlined at -O2/-O3 (false positives); the debug builds keep the warning.
target_compile_options(quillar_options INTERFACE $<$<AND:$<CXX_COMPILER_ID:GNU>,$<NOT:$<CONFIG:Debug>>>:-Wno-maybe-uninitialized>)
if(QUILLAR_FUZZ)
  # Everything the harnesses reach is instrumented for the fuzzer's coverage.
  target_compile_options(quillar_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(quillar_options INTERFACE -fsanitize=address,undefined)
endif()
if(QUILLAR_SANITIZE)
  target_compile_options(quillar_options INTERFACE -fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(quillar_options INTERFACE -fsanitize=address,undefined,float-cast-overflow)
endif()
target_compile_definitions(quillar_options INTERFACE QT_NO_KEYWORDS)

# quillar_library(name [STATIC|SHARED|MODULE] SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
function(quillar_library name)
  cmake_parse_arguments(ARG "STATIC;SHARED;MODULE" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  set(kind STATIC)
  if(ARG_SHARED)
    set(kind SHARED)
  elseif(ARG_MODULE)
    set(kind MODULE)
  endif()
  add_library(${name} ${kind} ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE quillar_options ${ARG_PRIVATE_LIBS})
  # Headers are included by their folder below the project root: "platform/basic/Variant.h".
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR})
endfunction()

# quillar_test(name SOURCES ... LIBS ... [GUI])
# One executable per module; every test runs headless in a fixed locale with its
# own registry hives and temporary folders (set through the environment).
function(quillar_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE quillar_options Qt6::Test ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR})
  target_compile_definitions(${name} PRIVATE
    QUILLAR_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    QUILLAR_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
    QUILLAR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set(hives ${CMAKE_BINARY_DIR}/testhives/${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;LANG=C.UTF-8;QUILLAR_MACHINE_HIVE=${hives}/machine.hive;QUILLAR_USER_HIVE=${hives}/user.hive;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    TIMEOUT 600)
endfunction()

# quillar_after_tools(target tool...): `target` is built after each of the tools
# (the package engine, regsvr, the libraries a test registers or starts) that this
# build has.
function(quillar_after_tools target)
  foreach(tool ${ARGN})
    if(TARGET ${tool})
      add_dependencies(${target} ${tool})
    endif()
  endforeach()
endfunction()

# Adds every sub-folder of the current folder that has a CMakeLists.txt: one module each.
function(quillar_add_modules)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
