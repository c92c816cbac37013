// The command line as a pipeline tool: one-line usage errors, --version,
// several images with output patterns, and the JSON report.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "consumers/consumer_run.h"
#include "support/batch_run.h"
#include "support/image_files.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class BatchImages : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<testing::Rgbe> pixels;
    for (int i = 0; i < 32 * 16; ++i)
      pixels.push_back(
          {static_cast<uint8_t>(100 + i % 50), 180, static_cast<uint8_t>(i % 90), 130});
    testing::WriteFile(Path("a.hdr"), testing::RunLengthRadiance(32, 16, pixels));
    testing::WriteFile(Path("b.hdr"), testing::RunLengthRadiance(32, 16, pixels));
    testing::WriteText(Path("bad.hdr"), std::string(300, 'x'));
    fs::create_directory(Path("sub"));
    fs::copy_file(Path("a.hdr"), Path("sub/a.hdr"));
  }
  std::string Path(const std::string& name) const { return dir.Path(name); }
  testing::BatchRun Run(const std::string& args) const {
    return testing::RunBatch("--no-optimize " + args);
  }

  testing::TempDir dir;
};

TEST_F(BatchImages, UsageErrorsAreOneLineAndAHint) {
  const std::string a = Path("a.hdr"), b = Path("b.hdr");
  const std::pair<std::string, std::string> cases[] = {
      {"", "no image given"},
      {a + " --no-such-option", "unknown option --no-such-option"},
      {a + " --json --table", "--json and --table exclude each other"},
      {a + " " + b + " -o " + Path("{stem}.usda") + " --preview " + Path("p.png"),
       "--preview " + Path("p.png") +
           ": needs {stem} in the name when more than one image is given"},
      {a + " " + b + " --json " + Path("r.json"), "--json " + Path("r.json") + ": needs {stem}"},
  };
  for (const auto& [args, problem] : cases) {
    const testing::BatchRun run = Run(args);
    EXPECT_EQ(run.exitCode, 2) << args;
    EXPECT_TRUE(run.output.starts_with("halvane-batch: " + problem)) << run.output;
    EXPECT_TRUE(run.output.ends_with("\nTry 'halvane-batch --help'.\n")) << run.output;
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 2) << run.output;
  }
  const testing::BatchRun version = Run("--version");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.output, std::string("halvane-batch ") + HALVANE_VERSION + "\n");
}

// Each image's outputs are checked together before the first image is read.
TEST_F(BatchImages, PatternsThatCollideOrCannotBeWrittenStopTheRunBeforeAnyImage) {
  const testing::BatchRun same =
      Run("-v " + Path("a.hdr") + " " + Path("sub/a.hdr") + " -o " + Path("{stem}.mel"));
  EXPECT_EQ(same.exitCode, 2);
  EXPECT_TRUE(Contains(same.output, "cannot write " + Path("a.mel") + ": the same file as -o " +
                                        Path("a.mel") + " of " + Path("a.hdr")))
      << same.output;
  EXPECT_FALSE(Contains(same.output, "File loaded"));

  const testing::BatchRun unwritable = Run("-v " + Path("a.hdr") + " " + Path("b.hdr") + " -o " +
                                           Path("{stem}.mel") + " -o " + Path("no/{stem}.usda"));
  EXPECT_EQ(unwritable.exitCode, 3);
  EXPECT_TRUE(Contains(unwritable.output, Path("no/a.usda"))) << unwritable.output;
  EXPECT_FALSE(Contains(unwritable.output, "File loaded"));
  EXPECT_FALSE(fs::exists(Path("a.mel")));
}

TEST_F(BatchImages, EachImageRunsAndTheHighestExitStatusWins) {
  fs::create_directory(Path("out"));
  const testing::BatchRun second = Run(Path("a.hdr") + " " + Path("bad.hdr") + " " + Path("b.hdr") +
                                       " -o " + Path("out/{stem}.usda"));
  EXPECT_EQ(second.exitCode, 1) << second.output;
  EXPECT_TRUE(fs::exists(Path("out/a.usda")));
  EXPECT_TRUE(fs::exists(Path("out/b.usda")));
  EXPECT_TRUE(
      Contains(second.output, "halvane-batch: " + Path("bad.hdr") + ": failed (exit status 1)\n"))
      << second.output;
  EXPECT_TRUE(Contains(second.output, "halvane-batch: " + Path("b.hdr") + ": 642 lights, 1 file"))
      << second.output;
  EXPECT_TRUE(second.output.ends_with("halvane-batch: 3 images: 2 done, 1 failed\n"));
}

// The report is checked by an independent validator against the schema.
TEST_F(BatchImages, JsonReportFollowsItsSchemaInterop) {
  const std::string consumers = HALVANE_CONSUMERS_DIR;
  if (!testing::OnPath("node") || !fs::exists(consumers + "/node_modules/ajv"))
    GTEST_SKIP() << "node or ajv missing (scripts/install-deps.sh test)";
  const testing::BatchRun run = testing::RunBatch(
      Path("a.hdr") + " " + Path("bad.hdr") + " --halt-after-level1 --threads 1 -o " +
      Path("{stem}.py") + " --json " + Path("{stem}.json"));
  EXPECT_EQ(run.exitCode, 1) << run.output;
  const std::string stdoutJson = Path("all.json");
  const testing::ConsumerRun all = testing::RunWithTimeLimit(
      std::string(HALVANE_BATCH_BINARY) + " --no-optimize " + Path("a.hdr") + " " +
          Path("bad.hdr") + " --json > " + stdoutJson + " 2>/dev/null",
      60);
  EXPECT_EQ(all.exitCode, 1);
  for (const std::string& document : {Path("a.json"), stdoutJson}) {
    const testing::ConsumerRun check = testing::RunWithTimeLimit(
        "cd " + consumers + " && node check_json_schema.mjs " +
            testing::ShellQuoted(HALVANE_SCHEMA) + " " + testing::ShellQuoted(document),
        60);
    EXPECT_EQ(check.exitCode, 0) << document << ":\n" << check.output;
  }
  std::ifstream file(Path("a.json"));
  const nlohmann::json a = nlohmann::json::parse(file)["images"][0];
  EXPECT_EQ(a["outputs"][0]["path"], Path("a.py"));
  ASSERT_FALSE(a["table"].empty());
  EXPECT_EQ(a["lights"].size(), a["table"][0]["lights"]);
  EXPECT_FALSE(fs::exists(Path("bad.json")));  // a failed image writes nothing
}

}  // namespace
}  // namespace halvane
