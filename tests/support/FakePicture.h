#pragma once
// A picture of a fixed natural size, for tests that register and draw pictures
// without loading an image.

#include "render/Surface.h"

#include <memory>

namespace quillet::testing {

class FakePicture : public Picture {
public:
    FakePicture(float widthMm, float heightMm) : m_widthMm(widthMm), m_heightMm(heightMm) {}
    float widthMm() const override { return m_widthMm; }
    float heightMm() const override { return m_heightMm; }

private:
    float m_widthMm;
    float m_heightMm;
};

inline std::shared_ptr<const Picture> fakePicture(float widthMm = 30, float heightMm = 20)
{
    return std::make_shared<FakePicture>(widthMm, heightMm);
}

} // namespace quillet::testing
