#include "batch/json_report.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "image/image_file_types.h"
#include "optimize/result_table.h"
#include "rig/rig.h"

namespace halvane {
namespace {

using nlohmann::json;

// A single-precision value as the shortest decimal that reads back to it
// ("0.1", not the 0.10000000149011612 of its double).
double Shortest(float value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  double widened = 0.0;
  std::from_chars(text, end, widened);
  return widened;
}

Rig ExportedRig(const Session& s, const ControlModel& controls) {
  return MakeRig(
      s.dome, s.image, s.results,
      {ScriptKind::Usd, controls.GridOptimized.selectedRow, controls.SpinLightDistance.value});
}

json DescribeInput(const std::string& path, const Session& s) {
  std::error_code error;
  const auto bytes = std::filesystem::file_size(path, error);
  std::string format = FileExtension(path);
  if (!format.empty()) format.erase(0, 1);
  std::transform(format.begin(), format.end(), format.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  json input = {{"path", path},
                {"bytes", error ? json(nullptr) : json(bytes)},
                {"format", format},
                {"width", nullptr},
                {"height", nullptr}};
  if (!s.imageMissing) {
    input["width"] = s.image.width;
    input["height"] = s.image.height;
  }
  return input;
}

json DescribeStatistics(const Session& s) {
  const DomeStatistics& st = s.statistics;
  return {{"points", s.dome.pointCount},
          {"usedPoints", st.usedPointCount},
          {"maxLuminance", Shortest(st.maxLum)},
          {"minLuminance", Shortest(st.minLum)},
          {"averageLuminance", Shortest(st.avgLum)},
          {"averageLuminanceDifference", Shortest(st.avgLumDiff)},
          {"averageColourDifference", Shortest(st.avgColorDiff)}};
}

// The rows the result table lists, with the numbers behind its texts.
json DescribeTable(const Session& s) {
  json rows = json::array();
  const int listed = std::min<int>(s.results.count, kListedResults);
  for (int r = 1; r <= listed; ++r) {
    const SearchResult& result = s.results.results[static_cast<std::size_t>(r)];
    rows.push_back({{"row", r},
                    {"lights", result.lightCount},
                    {"averageReduction", Shortest(result.avgReduction)},
                    {"minReduction", result.recordedLights},
                    {"maxReduction", result.maxReduction},
                    {"diffIndex", result.diffIndex}});
  }
  return rows;
}

json DescribeLight(const RigLight& light, const Dome& dome) {
  const DomePoint& point = dome.points[light.number];
  return {{"number", light.number},
          {"level", light.level},
          {"pixel", {point.px, point.py}},
          {"direction", {light.dirX, light.dirY, light.dirZ}},
          {"colour", {Shortest(light.normR), Shortest(light.normG), Shortest(light.normB)}},
          {"peak", Shortest(light.peak)},
          {"intensity", light.intensity},
          {"grey", light.grey}};
}

json DescribeStepTimes(const std::vector<StepTime>& times) {
  json seconds = json::object();
  for (const StepTime& t : times) seconds[t.step] = t.seconds;
  return seconds;
}

}  // namespace

int RigLightCount(const Session& s, const ControlModel& controls) {
  return static_cast<int>(ExportedRig(s, controls).lights.size());
}

json DescribeImage(const std::string& imagePath, std::optional<char> letter, const Session& s,
                   const ControlModel& controls) {
  json image = {{"input", DescribeInput(imagePath, s)},
                {"letter", letter ? json(std::string(1, *letter)) : json(nullptr)},
                {"statistics", nullptr},
                {"table", DescribeTable(s)},
                {"chosenRow", nullptr},
                {"lights", json::array()}};
  if (s.workflowState < 3) return image;
  image["statistics"] = DescribeStatistics(s);
  const int row = controls.GridOptimized.selectedRow;
  if (row >= 1 && row <= std::min<int>(s.results.count, kListedResults)) image["chosenRow"] = row;
  for (const RigLight& light : ExportedRig(s, controls).lights)
    image["lights"].push_back(DescribeLight(light, s.dome));
  return image;
}

std::string JsonDocument(const std::vector<ImageRecord>& records) {
  json images = json::array();
  for (const ImageRecord& record : records) {
    json image = record.description;
    image["exitStatus"] = record.exitCode;
    image["outputs"] = json::array();
    for (const OutputPath& output : record.written)
      image["outputs"].push_back({{"option", output.option}, {"path", output.path}});
    image["seconds"] = DescribeStepTimes(record.stepTimes);
    images.push_back(std::move(image));
  }
  return json{{"program", "halvane-batch"}, {"version", HALVANE_VERSION}, {"images", images}}.dump(
             2) +
         "\n";
}

}  // namespace halvane
