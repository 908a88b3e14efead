#pragma once
// The program's one pseudo-random generator. Every routine that needs random numbers
// draws from Rnd(), so advancing it (ReseedRandomFromClock) affects them all.
#include <cstdint>

namespace trelvik {

// Next number of the sequence, uniform in [0, 1).
double Rnd();

// Restarts the sequence from a fixed seed (tests, reproducible runs).
void SeedRandom(std::uint64_t seed);

// Advances the generator by a clock-dependent number of draws without reseeding it:
// one draw r, then n = 1000 * Round(r * s * m * d / 108000, 3) further draws discarded
// (s seconds, m minutes, d day of month of the local time; 0 <= n <= 1000).
// Returns n.
int ReseedRandomFromClock();

// The same with the time parts given, for a known clock.
int ReseedRandomFromClock(int second, int minute, int dayOfMonth);

} // namespace trelvik
