// What the batch tool does where a run could destroy or hide something: an
// output that is the input or another output, an output it cannot write, a
// full disk, a kill while writing, an image file that ends early, a run that
// takes too long. Each ends with a message naming the file and the reason,
// the right exit status and the previous files whole.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/batch_run.h"
#include "support/image_files.h"
#include "support/optimize_fixtures.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;
using testing::BatchRun;
using testing::Bytes;

constexpr uid_t kNobody = 65534;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string ReadText(const std::string& path) {
  const Bytes bytes = testing::ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// Runs halvane-batch with `args` in `folder`, as the user `uid` when given.
// Exit status 125: the child could not drop its privileges; 127: no exec.
BatchRun RunChild(const std::string& folder, const std::vector<std::string>& args,
                  std::optional<uid_t> uid = std::nullopt) {
  int out[2];
  if (pipe(out) != 0) return {-1, "no pipe"};
  const pid_t child = fork();
  if (child == 0) {
    dup2(out[1], 1);
    dup2(out[1], 2);
    close(out[0]);
    if (uid && (setgroups(0, nullptr) != 0 || setgid(*uid) != 0 || setuid(*uid) != 0)) _exit(125);
    if (chdir(folder.c_str()) != 0) _exit(127);
    std::vector<char*> argv{const_cast<char*>(HALVANE_BATCH_BINARY)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(HALVANE_BATCH_BINARY, argv.data());
    _exit(127);
  }
  close(out[1]);
  BatchRun run{-1, ""};
  char buf[4096];
  for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;)
    run.output.append(buf, static_cast<std::size_t>(n));
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// Starts halvane-batch with its output thrown away; the caller waits.
pid_t StartQuietChild(const std::vector<std::string>& args) {
  const pid_t child = fork();
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    std::vector<char*> argv{const_cast<char*>(HALVANE_BATCH_BINARY)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(HALVANE_BATCH_BINARY, argv.data());
    _exit(127);
  }
  return child;
}

std::vector<testing::Rgbe> SkyPixels(int w, int h) {
  std::vector<testing::Rgbe> pixels;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      pixels.push_back({static_cast<uint8_t>(100 + y), 180, static_cast<uint8_t>(60 + x), 130});
  return pixels;
}

class BatchOutputs : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::permissions(dir.dir(), fs::perms(0755));  // open to the unprivileged runs
    testing::WriteFile(image, testing::RunLengthRadiance(64, 32, SkyPixels(64, 32)));
  }
  void TearDown() override { umount2(Path("small").c_str(), MNT_DETACH); }

  std::string Path(const std::string& name) const { return dir.Path(name); }
  BatchRun Run(const std::string& args) const {
    return testing::RunBatch("--no-optimize " + image + " " + args);
  }
  std::vector<std::string> Entries(const std::string& folder = "") const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.empty() ? dir.dir() : folder))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::TempDir dir;
  const std::string image = dir.Path("sky.hdr");
};

// Refused before the image is read: -v would log the load.
TEST_F(BatchOutputs, AnOutputThatIsTheInputOrAnotherOutputIsRefused) {
  const Bytes original = testing::ReadFileBytes(image);
  fs::create_symlink("sky.hdr", Path("link.png"));
  for (const std::string& args :
       {"--points-csv " + image, "--preview " + image, "--preview " + Path("link.png"),
        "--points-csv " + dir.dir() + "/./sky.hdr"}) {
    const BatchRun run = Run("-v " + args);
    EXPECT_EQ(run.exitCode, 2) << args;
    EXPECT_TRUE(Contains(run.output, ": the same file as the input image")) << run.output;
    EXPECT_FALSE(Contains(run.output, "File loaded")) << args;
    EXPECT_EQ(testing::ReadFileBytes(image), original) << args;
  }

  const std::string rig = Path("r.mel");
  BatchRun run = Run("-o " + rig + " --points-csv " + rig);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(
      Contains(run.output, "halvane-batch: cannot write " + rig + ": the same file as -o " + rig))
      << run.output;
  run = Run("--points-csv " + Path("x") + " --preview " + Path("x"));
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(Contains(run.output, ": the same file as --points-csv " + Path("x")));
  EXPECT_EQ(Run("-o " + rig + " -o " + dir.dir() + "/./r.mel").exitCode, 2);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"link.png", "sky.hdr"}));
}

TEST_F(BatchOutputs, OutputsThatCannotBeWrittenAreNamedBeforeAnyWork) {
  const std::string rig = Path("r.mel");
  testing::WriteText(rig, "previous");
  fs::permissions(rig, fs::perms(0444));
  BatchRun run = Run("-v -o " + rig);
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(Contains(run.output, "halvane-batch: cannot replace " + rig + ": file is read-only"))
      << run.output;
  EXPECT_FALSE(Contains(run.output, "File loaded"));
  EXPECT_EQ(ReadText(rig), "previous");
  EXPECT_EQ(fs::status(rig).permissions(), fs::perms(0444));

  run = Run("--points-csv " + Path("missing/p.csv"));
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(Contains(run.output, "cannot write " + Path("missing/p.csv") + ": no such folder"));

  // The longest name the file system takes is written; one more is refused.
  const std::string longest = Path(std::string(251, 'n') + ".mel");
  EXPECT_EQ(Run("-o " + longest).exitCode, 0);
  EXPECT_TRUE(fs::exists(longest));
  run = Run("-o " + Path(std::string(252, 'n') + ".mel"));
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(Contains(run.output, ": name too long")) << run.output;
}

// Root may read and write anything: these run as an unprivileged user.
TEST_F(BatchOutputs, PermissionsAreNamedForAnUnprivilegedUser) {
  fs::create_directory(Path("ro"));
  testing::WriteText(Path("ro/kept.csv"), "previous");
  fs::permissions(Path("ro"), fs::perms(0555));
  BatchRun run =
      RunChild(dir.dir(), {"--no-optimize", image, "--points-csv", Path("ro/kept.csv")}, kNobody);
  if (run.exitCode == 125) GTEST_SKIP() << "cannot drop privileges";
  ASSERT_NE(run.exitCode, 127) << "the batch tool is out of the unprivileged user's reach";
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(Contains(run.output, "cannot write " + Path("ro/kept.csv") + ": folder not writable"))
      << run.output;
  EXPECT_EQ(Entries(Path("ro")), std::vector<std::string>{"kept.csv"});
  EXPECT_EQ(ReadText(Path("ro/kept.csv")), "previous");

  fs::copy_file(image, Path("secret.hdr"));
  fs::permissions(Path("secret.hdr"), fs::perms::none);
  run = RunChild(dir.dir(), {"--no-optimize", "secret.hdr"}, kNobody);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Contains(run.output, "Cannot read \"secret.hdr\": permission denied")) << run.output;
}

TEST_F(BatchOutputs, AFullDiskFailsTheRunAndKeepsThePreviousFiles) {
  const std::string small = Path("small");
  fs::create_directory(small);
  if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=16k") != 0)
    GTEST_SKIP() << "cannot mount a small file system here";
  for (const std::string name : {"p.csv", "p.png", "r.mel"})
    testing::WriteText(small + "/" + name, "previous");
  for (const std::string& args : {"--points-csv " + small + "/p.csv",
                                  "--preview " + small + "/p.png", "-o " + small + "/r.mel"}) {
    const BatchRun run = Run(args);
    EXPECT_EQ(run.exitCode, 3) << args;
    EXPECT_TRUE(Contains(run.output, small + "/")) << run.output;
    EXPECT_TRUE(Contains(run.output, ": disk full")) << run.output;
  }
  EXPECT_EQ(Entries(small), (std::vector<std::string>{"p.csv", "p.png", "r.mel"}));
  for (const std::string name : {"p.csv", "p.png", "r.mel"})
    EXPECT_EQ(ReadText(small + "/" + name), "previous") << name;
}

// Leftovers of killed runs, of this and of older versions, never block.
TEST_F(BatchOutputs, StaleTemporaryFilesNeverBlockAnExport) {
  for (int n = 0; n < 100; ++n) testing::WriteText(Path(".r.mel.part" + std::to_string(n)), "");
  testing::WriteText(Path(".halvane-00000000"), "");
  const BatchRun run = Run("-o " + Path("r.mel") + " --points-csv " + Path("r.csv"));
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Contains(ReadText(Path("r.mel")), "ZR_Light"));
  EXPECT_EQ(Entries().size(), 104u);
}

TEST_F(BatchOutputs, AFileThatEndsEarlyIsAWarningOrWithStrictAFailure) {
  const std::string cut = Path("cut.hdr");
  const std::vector<testing::Rgbe> rows = SkyPixels(8, 37);
  testing::Bytes data = testing::FlatRadiance(8, 4000, rows);
  data.insert(data.end(), {1, 2, 3, 4, 5, 6});  // part of row 38
  testing::WriteFile(cut, data);
  const std::string words = "the file ends after row 37 of 4000; the rest is filler";

  BatchRun run = testing::RunBatch("--no-optimize -v " + cut + " -o " + Path("cut.mel"));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(Contains(run.output, ":  The file ends after row 37 of 4000; the rest is filler.\n"))
      << run.output;
  EXPECT_TRUE(Contains(run.output, "halvane-batch: " + cut + ": " + words + "\n"));
  EXPECT_TRUE(fs::exists(Path("cut.mel")));

  run = testing::RunBatch("--no-optimize -q " + cut);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_FALSE(Contains(run.output, words));

  run = testing::RunBatch("--no-optimize --strict " + cut + " -o " + Path("strict.mel"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Contains(run.output, "halvane-batch: " + cut + ": " + words)) << run.output;
  EXPECT_FALSE(fs::exists(Path("strict.mel")));
  EXPECT_EQ(Run("--strict").exitCode, 0);  // a whole file passes
}

TEST_F(BatchOutputs, DoubleDashEndsTheOptions) {
  fs::copy_file(image, Path("-x.hdr"));
  BatchRun run = RunChild(dir.dir(), {"--no-optimize", "--", "-x.hdr"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  run = RunChild(dir.dir(), {"--no-optimize", "-x.hdr"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(Contains(run.output, "unknown option -x.hdr"));
  run = RunChild(dir.dir(), {"--no-optimize", "--", "--help"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Contains(run.output, "Cannot read \"--help\": no such file")) << run.output;
}

// Kills and timing: run one at a time.
class BatchOutputsFault : public BatchOutputs {};

// Kills at moments spread over the end of a run, where the files are
// written: each output is the previous file or the complete new one. A
// terminated run leaves no temporary file; after SIGKILL one may stay, but
// the next run writes all the same.
TEST_F(BatchOutputsFault, KilledRunsLeaveEachFileOldOrNew) {
  const std::vector<std::string> names{"r.mel", "r.vbs", "p.csv", "p.png"};
  auto args = [&](const std::string& prefix) {
    return std::vector<std::string>{"--no-optimize",
                                    "--letter",
                                    "K",
                                    image,
                                    "-o",
                                    Path(prefix + "r.mel"),
                                    "-o",
                                    Path(prefix + "r.vbs"),
                                    "--points-csv",
                                    Path(prefix + "p.csv"),
                                    "--preview",
                                    Path(prefix + "p.png")};
  };
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(RunChild(dir.dir(), args("new-")).exitCode, 0);
  const auto runTime = std::chrono::steady_clock::now() - start;

  for (int round = 0; round < 16; ++round) {
    for (const std::string& name : names) testing::WriteText(Path(name), "previous");
    const pid_t child = StartQuietChild(args(""));
    std::this_thread::sleep_for(runTime * (0.6 + 0.5 * (round % 8) / 8.0));
    kill(child, round < 8 ? SIGTERM : SIGKILL);
    waitpid(child, nullptr, 0);
    for (const std::string& name : names) {
      const std::string now = ReadText(Path(name));
      EXPECT_TRUE(now == "previous" || now == ReadText(Path("new-" + name)))
          << name << ": a torn file of " << now.size() << " bytes in round " << round;
    }
    if (round < 8) {
      EXPECT_EQ(Entries().size(), 2 * names.size() + 1) << "round " << round;
    }
  }
  ASSERT_EQ(RunChild(dir.dir(), args("")).exitCode, 0);
  for (const std::string& name : names)
    EXPECT_EQ(ReadText(Path(name)), ReadText(Path("new-" + name))) << name;
}

// The limit is reached while the first level runs: a 1 ms limit is over
// before the optimization starts.
TEST_F(BatchOutputsFault, TimeLimitKeepsTheResultsSoFarOrWithStrictFails) {
  std::vector<testing::Rgbe> pixels;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) {
      const auto m = static_cast<uint8_t>(testing::Noise01(x, y) * 256.0f);
      pixels.push_back({m, m, m, 130});
    }
  const std::string noise = Path("random.hdr");
  testing::WriteFile(noise, testing::FlatRadiance(128, 64, pixels));
  const std::string run162 = noise + " --resolution 3 --threshold 0.2 --time-limit ";

  BatchRun run = testing::RunBatch(run162 + "0.001 -o " + Path("kept.mel"));
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Contains(run.output, "halvane-batch: " + noise +
                                       ": time limit 0.001 s reached in level 1; results so far "
                                       "kept"))
      << run.output;
  EXPECT_TRUE(fs::exists(Path("kept.mel")));

  run = testing::RunBatch(run162 + "0.001 --strict -o " + Path("strict.mel"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Contains(run.output, "time limit 0.001 s reached in level 1; nothing written"))
      << run.output;
  EXPECT_FALSE(fs::exists(Path("strict.mel")));

  run = testing::RunBatch(run162 + "600 --strict -v");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(Contains(run.output, ":  Optimization done. "));
  EXPECT_EQ(testing::RunBatch(run162 + "0").exitCode, 2);
}

}  // namespace
}  // namespace halvane
