#pragma once

#include <cstdint>

#include "abi/object_info.h"
#include "abi/texture_params.h"
#include "texture/finish.h"
#include "texture/media.h"
#include "texture/noise_params.h"

namespace lumetra::translate {

// The values of a node that the translation takes into the objects it makes, and that an
// animation frame takes again from the node posed at its time. One place for both, so a
// frame shows what a fresh translation of the posed node would.
void TakeFinishParams(const abi::FinishParams& params, texture::Finish& finish);
// Octaves, omega, lambda, frequency, phase and wave shape; the turbulence is the
// translation's to place (the pattern's own or a warp).
void TakeNoiseParams(const abi::NoiseModifierParams& params, texture::NoiseParams& noise);
// The absorption, emission or scattering colour of a media node, by the node's kind;
// false for another kind.
bool TakeMediaColour(const abi::TextureBlock& node, texture::Media& media);

// Poses the object a node was filed under (the finish, noise setting or media the
// translation told its sink of, by the node's kind) from the node's posed block; false
// when the node's kind files nothing.
bool PoseTrackedNode(std::uintptr_t target, const abi::TextureBlock& node);

}  // namespace lumetra::translate
