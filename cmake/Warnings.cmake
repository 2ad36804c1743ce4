# One warnings target that every library and executable of the project links.
add_library(tolvane_warnings INTERFACE)
target_compile_options(tolvane_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wimplicit-fallthrough -Wcast-align -Wformat=2)
if(TOLVANE_WERROR)
    target_compile_options(tolvane_warnings INTERFACE -Werror)
endif()

if(TOLVANE_SANITIZE)
    set(tolvane_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all
        -fno-omit-frame-pointer)
    target_compile_options(tolvane_warnings INTERFACE ${tolvane_sanitize_flags})
    target_link_options(tolvane_warnings INTERFACE ${tolvane_sanitize_flags})
endif()

# Fuzzing: every library gets libFuzzer's coverage counters and both sanitizers; only the fuzz
# targets themselves link libFuzzer's main (fuzz/CMakeLists.txt).
if(TOLVANE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "TOLVANE_FUZZ needs clang (configure with CXX=clang++)")
    endif()
    set(tolvane_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
        -fno-omit-frame-pointer)
    target_compile_options(tolvane_warnings INTERFACE ${tolvane_fuzz_flags})
    target_link_options(tolvane_warnings INTERFACE -fsanitize=address,undefined)
endif()
