# Native tree: unit tests under AddressSanitizer and UBSan, benchmarks without them.
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()

set(OSTREL_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

ostrel_core_library(ostrel_core)
ostrel_core_library(ostrel_core_checked)
target_compile_options(ostrel_core_checked PUBLIC ${OSTREL_SANITIZE})
target_link_options(ostrel_core_checked PUBLIC ${OSTREL_SANITIZE})

add_library(ostrel_stdio STATIC ${PROJECT_SOURCE_DIR}/platform/stdio/StdioFiles.cpp)
target_include_directories(ostrel_stdio PUBLIC ${PROJECT_SOURCE_DIR})

file(GLOB OSTREL_UNIT_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${OSTREL_UNIT_TESTS})
target_include_directories(unit_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(unit_tests PRIVATE ostrel_core_checked GTest::gtest_main)
# The help page is checked against the program's tables where it is written.
target_compile_definitions(unit_tests PRIVATE OSTREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
# The shipped example set, drawn by its script, is loaded by the program's own code.
set(OSTREL_EXAMPLES_DIR ${CMAKE_BINARY_DIR}/examples)
add_custom_command(OUTPUT ${OSTREL_EXAMPLES_DIR}/Examples.fil ${OSTREL_EXAMPLES_DIR}/Examples.skl
  COMMAND python3 ${PROJECT_SOURCE_DIR}/scripts/lib/make_examples.py ${OSTREL_EXAMPLES_DIR}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/lib/make_examples.py)
add_custom_target(examples DEPENDS ${OSTREL_EXAMPLES_DIR}/Examples.fil)
add_dependencies(unit_tests examples)
target_compile_definitions(unit_tests PRIVATE OSTREL_EXAMPLES_DIR="${OSTREL_EXAMPLES_DIR}")
add_test(NAME unit_tests COMMAND unit_tests)

file(GLOB OSTREL_BENCHES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
add_executable(benchmarks ${OSTREL_BENCHES})
target_link_libraries(benchmarks PRIVATE ostrel_core ostrel_stdio benchmark::benchmark_main)
# Only a smoke run here (each benchmark once): the figures come from running it alone.
add_test(NAME benchmarks_smoke COMMAND benchmarks --benchmark_min_time=0.0001
         --benchmark_out_format=console)

# The build, test and run scripts' plans on both kinds of machine (no Wine needed).
add_test(NAME scripts_plan COMMAND bash ${PROJECT_SOURCE_DIR}/tests/scripts/check_plan.sh)
# The committed pictures against what resources/art/ draws now, byte for byte (python3).
add_test(NAME art_bytes COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/scripts/check_art.py)
