// The interpolating renderers: each output pixel mixes its four neighbouring source pixels by its
// vertical and horizontal eighths through a weight curve. The three renderers differ only in that
// curve: linear (CBlendRenderer, filter 1), quadratic (filter 2) and cubic (filter 3).
#pragma once

#include <memory>
#include <span>

#include "blend_table.h"
#include "blend_weights.h"
#include "column_map.h"
#include "neighbourhood.h"
#include "renderer.h"

namespace qzm {

class CBlendRenderer : public CRenderer {
public:
    CBlendRenderer();
    ~CBlendRenderer() override;

    // Makes the weights and the BlendTable from this renderer's curve. Rendering calls it when they
    // are absent; calling it again recomputes them in place.
    void BuildBlendTables();

    // The curve's weights and the BlendTable: absent (null, empty) until the first Render.
    const BlendWeights* Weights() const { return m_weights.get(); }
    std::span<const Pixel32> BlendTable() const { return {m_blendTable.data(), m_blendTable.size()}; }

protected:
    // The weight curve, linear here.
    virtual BlendWeights MakeWeights() const;

    // Builds the tables on the first call.
    void Prepare() override;
    // Writes every output pixel as one BlendTable entry.
    void Draw(const std::uint8_t* image, int width, int height) override;

private:
    std::unique_ptr<BlendWeights> m_weights;
    AlignedArray<Pixel32> m_blendTable;
    ColumnMap m_columns;
    RowCodeOffsets m_codes{};
};

class CBiquadraticRenderer : public CBlendRenderer {
protected:
    BlendWeights MakeWeights() const override;
};

class CBicubicRenderer : public CBlendRenderer {
protected:
    BlendWeights MakeWeights() const override;
};

}  // namespace qzm
