#include "blend_weights.h"

namespace qzm {

namespace {

// The curves are evaluated in double precision, left to right, and truncated toward zero.
constexpr double kLastStep = 7.0;
constexpr double kFullWeight = 255.0;

double Fraction(int i) {
    return static_cast<double>(i) / kLastStep;
}

std::uint8_t Truncate(double weight) {
    return static_cast<std::uint8_t>(static_cast<int>(weight));
}

}  // namespace

BlendWeights LinearWeights() {
    BlendWeights w{};
    for (int i = 0; i < kFractionSteps; ++i) {
        w[i] = static_cast<std::uint8_t>(i * 255 / (kFractionSteps - 1));
    }
    return w;
}

BlendWeights QuadraticWeights() {
    BlendWeights w{};
    for (int i = 0; i < kFractionSteps; ++i) {
        const double t = Fraction(i);
        w[i] = Truncate((t * kFullWeight) * t);
    }
    return w;
}

BlendWeights CubicWeights() {
    BlendWeights w{};
    for (int i = 0; i < kFractionSteps; ++i) {
        const double t = Fraction(i);
        w[i] = Truncate(((t * kFullWeight) * t) * t);
    }
    return w;
}

}  // namespace qzm
