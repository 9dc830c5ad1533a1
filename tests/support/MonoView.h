#pragma once
// 16-bit mono samples held by a test, seen as a recording.
#include "engine/SampleView.h"

#include <cstdint>
#include <vector>

inline TSampleView MonoView16(const std::vector<std::int16_t> &Samples, std::uint32_t Rate)
{
    TSampleView View;
    View.Format = {1, 1, Rate, Rate * 2, 2, 16, 0};
    View.Data = reinterpret_cast<const std::uint8_t *>(Samples.data());
    View.DataSize = std::int64_t(Samples.size() * 2);
    return View;
}
