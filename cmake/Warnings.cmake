# Project-wide warning flags; applied to every target through qzm_set_warnings().
function(qzm_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wconversion -Wno-sign-conversion
        -Wno-missing-field-initializers)
    if(QZM_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
