// What a failing disk, a kill or an awkward target leaves behind: the
// previous file intact and no temporary file.
#include "base/output_file.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace halvane {
namespace {

namespace fs = std::filesystem;

class OutputFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "halvane-out-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    umount2(dir_.c_str(), MNT_DETACH);  // where a test mounted a small file system
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  // The target holds the old text and nothing else lies in the folder.
  void ExpectUntouched(const std::string& name, const std::string& old) const {
    EXPECT_EQ(Read(Path(name)), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{name});
  }

  fs::path dir_;
};

TEST_F(OutputFile, ReplacesTheTargetAndKeepsItsPermissions) {
  const std::string target = Path("rig.mel");
  ASSERT_FALSE(WriteOutputFile(target, "old"));
  fs::permissions(target, fs::perms(0640));
  ASSERT_FALSE(WriteOutputFile(target, "new text"));
  EXPECT_EQ(Read(target), "new text");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms(0640));
  EXPECT_EQ(Entries(), std::vector<std::string>{"rig.mel"});
}

TEST_F(OutputFile, FailingWritesSyncOrCloseLoseNothing) {
  const std::string name = "points.csv";
  ASSERT_FALSE(WriteOutputFile(Path(name), "previous"));
  const std::string big(100000, 'x');
  OutputFaults full, sync, close;
  full.failAfterBytes = 8192;
  full.writeError = ENOSPC;
  sync.syncError = EIO;
  close.closeError = EDQUOT;
  for (const auto& [faults, reason] :
       {std::pair{full, "disk full"}, {sync, "input/output error"}, {close, "disk full"}}) {
    const auto error = WriteOutputFile(Path(name), big, faults);
    ASSERT_TRUE(error) << reason;
    EXPECT_EQ(error->reason, reason);
    ExpectUntouched(name, "previous");
  }
  EXPECT_EQ(WriteOutputFile(Path(name), big, full)->Message(),
            "cannot write " + Path(name) + ": disk full");
}

TEST_F(OutputFile, AFullFileSystemLeavesThePreviousFile) {
  if (mount("tmpfs", dir_.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a small file system here";
  ASSERT_FALSE(WriteOutputFile(Path("preview.png"), "previous"));
  const auto error = WriteOutputFile(Path("preview.png"), std::string(256 * 1024, 'p'));
  ASSERT_TRUE(error);
  EXPECT_EQ(error->reason, "disk full");
  ExpectUntouched("preview.png", "previous");
}

TEST_F(OutputFile, LinksAreFollowedAndReadOnlyFilesRefused) {
  const std::string real = Path("real.usda");
  ASSERT_FALSE(WriteOutputFile(real, "old"));
  fs::create_symlink("real.usda", Path("link.usda"));
  ASSERT_FALSE(WriteOutputFile(Path("link.usda"), "through the link"));
  EXPECT_TRUE(fs::is_symlink(Path("link.usda")));
  EXPECT_EQ(Read(real), "through the link");

  fs::permissions(real, fs::perms(0444));
  const auto error = WriteOutputFile(Path("link.usda"), "lost?");
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Message(), "cannot replace " + Path("link.usda") + ": file is read-only");
  EXPECT_EQ(Read(real), "through the link");
  EXPECT_TRUE(CheckOutputWritable(real).has_value());
}

TEST_F(OutputFile, NamesUpToTheFileSystemsLimitFit) {
  const std::string longest(255, 'n');
  ASSERT_FALSE(CheckOutputWritable(Path(longest)));
  ASSERT_FALSE(WriteOutputFile(Path(longest), "fits"));
  EXPECT_EQ(Read(Path(longest)), "fits");
  const auto tooLong = CheckOutputWritable(Path(longest + "x"));
  ASSERT_TRUE(tooLong);
  EXPECT_EQ(tooLong->reason, "name too long");
  EXPECT_TRUE(WriteOutputFile(Path("missing/out.csv"), "x").has_value());
}

TEST_F(OutputFile, AFolderThatTakesNoNewFileIsNamed) {
  ASSERT_FALSE(WriteOutputFile(Path("kept.py"), "old"));
  fs::permissions(dir_, fs::perms(0755));
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Root may write anywhere: the check runs as an unprivileged user.
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    const auto error = WriteOutputFile(Path("new.py"), "x");
    _exit(error && error->reason == "folder not writable" ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot drop privileges";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ExpectUntouched("kept.py", "old");
}

TEST_F(OutputFile, AKilledWriterLeavesTheOldOrTheNewFileAndNoTemporary) {
  const std::string name = "scene.usda";
  ASSERT_FALSE(WriteOutputFile(Path(name), "old"));
  const std::string big(64 << 20, 'n');
  for (int round = 0; round < 6; ++round) {
    const int delayMs = (round % 3) * 10;
    OutputFaults named;  // the last rounds name their temporary file at once
    named.namedTemporary = round >= 3;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      RemoveTemporaryOutputsOnSignals();
      _exit(WriteOutputFile(Path(name), big, named) ? 1 : 0);
    }
    usleep(static_cast<useconds_t>(delayMs) * 1000);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    const std::string now = Read(Path(name));
    EXPECT_TRUE(now == "old" || now == big) << "a torn file of " << now.size() << " bytes";
    EXPECT_EQ(Entries(), std::vector<std::string>{name});
    ASSERT_FALSE(WriteOutputFile(Path(name), "old"));
  }
}

TEST(SameFile, FollowsLinksAndComparesPathsOfNewFiles) {
  const fs::path dir = fs::temp_directory_path();
  const std::string real = (dir / "halvane-same-real").string();
  const std::string link = (dir / "halvane-same-link").string();
  fs::remove(link);
  ASSERT_FALSE(WriteOutputFile(real, "x"));
  fs::create_symlink(real, link);
  EXPECT_TRUE(SameFile(real, link));
  EXPECT_TRUE(SameFile((dir / "new.csv").string(), (dir / "." / "new.csv").string()));
  EXPECT_FALSE(SameFile((dir / "a.csv").string(), (dir / "b.csv").string()));
  fs::remove(link);
  fs::remove(real);
}

}  // namespace
}  // namespace halvane
