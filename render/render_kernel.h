// The inner loops of the renderers come in two forms that give identical pixels: a portable one and
// one using AVX2, chosen at run time where the processor has it.
#pragma once

namespace qzm {

enum class RenderKernel {
    Portable,
    Avx2,
};

// Whether this build and this processor can run `kernel`.
bool KernelSupported(RenderKernel kernel);

// The fastest kernel this processor runs.
RenderKernel BestKernel();

}  // namespace qzm
