#include "render_kernel.h"

namespace qzm {

bool KernelSupported(RenderKernel kernel) {
    switch (kernel) {
        case RenderKernel::Portable: return true;
        case RenderKernel::Avx2:
#if defined(__x86_64__) || defined(__i386__)
            return __builtin_cpu_supports("avx2") != 0;
#else
            return false;
#endif
    }
    return false;
}

RenderKernel BestKernel() {
    static const RenderKernel best =
        KernelSupported(RenderKernel::Avx2) ? RenderKernel::Avx2 : RenderKernel::Portable;
    return best;
}

}  // namespace qzm
