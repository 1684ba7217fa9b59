# The test build runs everything under AddressSanitizer and UndefinedBehaviorSanitizer. The fuzz
# build instruments every library for coverage as well, so the fuzzers see inside them.
if(QZM_SANITIZE OR QZM_BUILD_FUZZ)
    set(QZM_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_compile_options(${QZM_SANITIZER_FLAGS})
    add_link_options(${QZM_SANITIZER_FLAGS})
endif()
if(QZM_BUILD_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
