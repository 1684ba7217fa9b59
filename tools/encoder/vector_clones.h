// The encoder's hot loops are built for AVX2 as well as the baseline, the better picked at run
// time; not under the address sanitizer, whose start-up the run-time pick would precede.
#pragma once

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QZM_ENCODER_NO_CLONES
#endif
#endif
#if defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__) && !defined(QZM_ENCODER_NO_CLONES)
#define QZM_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define QZM_VECTOR_CLONES
#endif
