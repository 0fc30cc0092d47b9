// The sine of the render core, block by block. The phase at the start of a
// block is exact (a 64-bit fixed-point phase, one cycle = 2^64); inside the
// block, kLanes double-precision rotations run side by side, lane k giving
// frames k, k + kLanes, k + 2 kLanes ... and each turning by kLanes frames'
// worth of phase per step. Independent lanes keep the processor's vector
// units busy where one rotation per frame would wait on the one before.
// Mixer-only: no locks, no allocation, no system calls.
#pragma once

#include <cstdint>

namespace tone {

constexpr int kSineLanes = 8;

// The turns of one pitch: computed when the pitch changes.
struct SineRotation {
    double laneCos[kSineLanes] = {1, 1, 1, 1, 1, 1, 1, 1}; // of lane k's offset, k steps
    double laneSin[kSineLanes] = {};
    double stepCos = 1.0, stepSin = 0.0; // of one turn of every lane, kSineLanes steps
};

// Makes the tables the functions below start from, if not made yet. The
// mixer calls it when it is made, so that rendering finds them ready.
void PrepareSineTables();

// The rotation for a phase step per frame (one cycle = 2^64).
SineRotation MakeSineRotation(std::uint64_t increment);

// Adds `frames` frames of sin(phase) at a steady left and right gain to the
// interleaved stereo `out`, or without `add` writes them over what was there.
void MixSine(float *out, bool add, int frames, std::uint64_t phase, const SineRotation &rotation, double left,
             double right);

// Writes `frames` values of sin(phase) to `out`, at most kSineBlock, in
// whole groups of kSineLanes: `out` holds kSineBlock values.
constexpr int kSineBlock = 256;
void SineBlock(double *out, int frames, std::uint64_t phase, const SineRotation &rotation);

} // namespace tone
