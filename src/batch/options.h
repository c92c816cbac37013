#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "rig/script_kind.h"

namespace halvane {

// What the command line asks for. Values are held as the controls hold them:
// spin values and track positions as integers, masked fields as their five
// characters.
struct BatchOptions {
  std::vector<std::string> images;  // every image of the command line
  std::string image;                // the one image a pipeline run works on
  bool fit = false;                 // load a picture larger than 4000 pixels scaled down
  bool verbose = false;
  std::string previewPath;
  std::string pointsCsvPath;

  std::optional<int> resolution;     // SpinPointIteration
  std::optional<std::string> black;  // EditBlack
  std::optional<std::string> white;  // EditWhite
  std::optional<std::string> clamp;  // EditClampwhite
  bool increase = false;
  std::optional<int> lumIterations;                  // SpinLumIterations
  std::optional<int> lumValue;                       // TrackLumValue position
  std::optional<int> lumPower;                       // TrackLumPower position
  std::optional<std::array<int, 3>> lumColor;        // TrackLumR/G/B positions
  std::optional<std::string> lumTolerance;           // EditLumTolerance
  std::optional<std::string> lumToleranceNeighbour;  // EditLumToleranceNeighbour
  bool noOptimize = false;

  std::optional<std::string> threshold;  // EditOptThreshold
  std::optional<int> maxReduction;       // SpinOptMaxRed
  std::optional<int> level1Points;       // SpinOptLevel1
  std::optional<int> level1MaxLights;    // SpinOptLevel1_min
  bool haltAfterLevel1 = false;          // CheckOptHalt1
  std::optional<int> threads;            // search threads, 0 = one per core
  int row = 1;                           // GridOptimized row chosen after the run
  bool table = false;

  std::optional<int> reduce;                     // TrackRedLum position
  std::optional<int> collapseGroup;              // SpinRedGroupNr
  std::optional<std::string> collapseThreshold;  // EditRedThreshold

  std::vector<std::string> outputs;
  MayaRenderer mayaRenderer = MayaRenderer::MentalRay;  // what .mel outputs are for
  std::optional<int> distance;                          // SpinLightDistance
  std::optional<char> letter;
  bool quiet = false;
  std::optional<long long> timeLimitMs;  // the optimization stops once the run has taken this
  bool strict = false;                   // a short image file or the time limit fails the run

  bool linear = false;      // CheckLinearLight: sample linear radiance
  bool printError = false;  // print the chosen rig's error
  bool medianCut = false;   // --method median-cut instead of the seed search
  int lights = 32;          // the median cut row chosen: 8, 16, 32, 64 or 128 lights
  bool json = false;        // describe the run as one JSON document
  std::string jsonPath;     // where it goes; empty: standard output

  bool sun = false;                 // CheckSunLight: the sun as one directional light
  std::optional<int> sunThreshold;  // SpinSunThreshold
};

enum class ParseResult { kRun, kHelp, kVersion, kUsageError };

// Reads the command line into `options`; on a usage error `error` says why.
ParseResult ParseBatchOptions(const std::vector<std::string>& args, BatchOptions& options,
                              std::string& error);

// The usage text printed for --help and after a usage error.
std::string BatchUsage();

}  // namespace halvane
