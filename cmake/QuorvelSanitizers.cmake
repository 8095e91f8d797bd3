# AddressSanitizer and UndefinedBehaviorSanitizer for every target of the
# build (the linux-asan preset sets QUORVEL_SANITIZE). Include this before the
# targets are defined: the flags go to the whole directory tree so that the
# libraries and the tests that link them are instrumented alike.
option(QUORVEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(QUORVEL_SANITIZE)
    if(CMAKE_CROSSCOMPILING)
        message(FATAL_ERROR "QUORVEL_SANITIZE is for native builds only")
    endif()
    # Undefined behaviour stops the program (no recovery) so that a finding fails
    # its test instead of only printing a line. The frame pointers keep the
    # reports' stack traces complete; the library assertions catch out-of-range
    # indexing into standard containers, which ASan cannot see inside capacity.
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
