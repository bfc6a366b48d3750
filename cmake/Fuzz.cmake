# Fuzz tree (clang++): each target runs a fixed number of inputs as a test.
set(OSTREL_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -g -O1)
ostrel_core_library(ostrel_core_fuzz)
target_compile_options(ostrel_core_fuzz PUBLIC ${OSTREL_FUZZ_FLAGS})

file(GLOB OSTREL_FUZZERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*.cpp)
foreach(src ${OSTREL_FUZZERS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ostrel_core_fuzz)
  target_link_options(${name} PRIVATE ${OSTREL_FUZZ_FLAGS})
  add_test(NAME ${name} COMMAND ${name} -seed=1 -runs=30000 -max_len=6000)
endforeach()
