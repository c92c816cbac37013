#pragma once

#include "image/image.h"
#include "workflow/control_model.h"
#include "workflow/session.h"

namespace halvane {

// Whether the reader of `path` raised the file's linear values to 1 / 2.2.
bool ReaderAppliesPower(const std::string& path);

// Prepares the picture the colour step samples from the loaded image and the
// options before the colour step (CheckLinearLight, CheckSunLight with
// SpinSunThreshold, 0 for the automatic threshold), and forgets the
// environment measured for the previous one. Reads the black and white point
// from the session. Returns that picture: the loaded image itself when no
// option changes it.
const Image& PrepareSampledImage(Session& session, const ControlModel& controls);

// The picture the last colour step sampled (the sun filled when it was found).
const Image& SampledImage(const Session& session);

// The environment the last colour step saw, the sun included: what the rig
// error compares with.
const Image& EnvironmentImage(const Session& session);

// The loaded picture's values raised to 2.2: the linear radiance the reader
// powered.
Image LinearImage(const Image& powered);

}  // namespace halvane
