#pragma once
// Halves a recording's sample rate cleanly: a low-pass below the new Nyquist frequency,
// then every second sample. The opening song is rendered at twice the game's mixing
// rate, so it needs no resampling when it plays and carries no aliasing.
#include <cstdint>
#include <vector>

std::vector<int16_t> HalveRate(const std::vector<int16_t>& samples);
