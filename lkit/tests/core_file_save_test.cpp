// Saving writes where the user pointed and never leaves half a file where a
// whole one stood.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "core/file_save.h"
#include "tests/temp_tree.h"

namespace lkit {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempTree;

struct stat statusOf(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status;
}

std::size_t entriesIn(const std::string& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

mode_t newFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Lowers the largest file this process may write, so writes fail with EFBIG
// instead of raising SIGXFSZ; both come back when it goes.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

struct PathCase {
  const char* label;
  std::function<void(TempTree&)> prepare;
  const char* savedPath;  // what the user named
  bool saved;
  const char* writtenPath;  // the file that must hold the new bytes; null: none
  const char* linkPath;     // must still be a symbolic link; null: none
};

TEST(SaveFile, WritesTheFileThePathLeadsTo) {
  const std::string bytes = "[Misc]\r\nName=new\r\n";
  const PathCase cases[] = {
      {"new file", [](TempTree&) {}, "new.ini", true, "new.ini", nullptr},
      {"existing file", [](TempTree& t) { t.file("old.ini", "old"); }, "old.ini", true, "old.ini",
       nullptr},
      {"relative link",
       [](TempTree& t) {
         t.file("real.ini", "old");
         fs::create_symlink("real.ini", t.path("link.ini"));
       },
       "link.ini", true, "real.ini", "link.ini"},
      {"absolute link into another folder",
       [](TempTree& t) {
         t.file("sub/real.ini", "old");
         fs::create_symlink(t.path("sub/real.ini"), t.path("link.ini"));
       },
       "link.ini", true, "sub/real.ini", "link.ini"},
      {"chain of links",
       [](TempTree& t) {
         t.file("sub/real.ini", "old");
         fs::create_symlink("real.ini", t.path("sub/first.ini"));
         fs::create_symlink("sub/first.ini", t.path("second.ini"));
       },
       "second.ini", true, "sub/real.ini", "second.ini"},
      {"dangling link creates the file it names",
       [](TempTree& t) { fs::create_symlink("made.ini", t.path("link.ini")); }, "link.ini", true,
       "made.ini", "link.ini"},
      {"loop of links",
       [](TempTree& t) {
         fs::create_symlink("b.ini", t.path("a.ini"));
         fs::create_symlink("a.ini", t.path("b.ini"));
       },
       "a.ini", false, nullptr, "a.ini"},
      {"folder", [](TempTree& t) { t.folder("dir.ini"); }, "dir.ini", false, nullptr, nullptr},
      {"missing folder", [](TempTree&) {}, "none/x.ini", false, nullptr, nullptr},
      {"no file name", [](TempTree& t) { t.folder("sub"); }, "sub/", false, nullptr, nullptr},
  };
  for (const PathCase& c : cases) {
    TempTree tree;
    c.prepare(tree);
    EXPECT_EQ(saveFile(tree.path(c.savedPath), bytes), c.saved) << c.label;
    if (c.writtenPath) {
      EXPECT_EQ(readFile(tree.path(c.writtenPath)), bytes) << c.label;
    }
    if (c.linkPath) {
      EXPECT_TRUE(fs::is_symlink(tree.path(c.linkPath))) << c.label;
    }
  }
}

TEST(SaveFile, KeepsOwnerGroupModeAndHardLinks) {
  TempTree tree;
  const std::string plain = tree.file("plain.ini", "old");
  ::chmod(plain.c_str(), 0640);
  // Only the superuser can give a file away; others keep their own ids,
  // which a rename must then keep as well.
  const bool root = ::geteuid() == 0;
  const uid_t owner = root ? 4321 : ::geteuid();
  const gid_t group = root ? 4322 : ::getegid();
  ASSERT_EQ(::chown(plain.c_str(), owner, group), 0);
  const std::string linked = tree.file("linked.ini", "old");
  fs::create_hard_link(linked, tree.path("second-name.ini"));
  const ino_t linkedInode = statusOf(linked).st_ino;

  ASSERT_TRUE(saveFile(plain, "new"));
  ASSERT_TRUE(saveFile(linked, "new, and longer than before"));

  struct stat status = statusOf(plain);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(status.st_uid, owner);
  EXPECT_EQ(status.st_gid, group);
  EXPECT_EQ(readFile(plain), "new");
  status = statusOf(linked);
  EXPECT_EQ(status.st_nlink, 2u);
  EXPECT_EQ(status.st_ino, linkedInode);
  EXPECT_EQ(readFile(tree.path("second-name.ini")), "new, and longer than before");
  ASSERT_TRUE(saveFile(linked, "short"));
  EXPECT_EQ(readFile(tree.path("second-name.ini")), "short");
  EXPECT_EQ(entriesIn(tree.root()), 3u);
}

TEST(SaveFile, NewFileGetsTheUsualPermissions) {
  TempTree tree;
  ASSERT_TRUE(saveFile(tree.path("new.ini"), "x"));
  EXPECT_EQ(statusOf(tree.path("new.ini")).st_mode & 07777, newFileMode());
}

TEST(SaveFile, WritesDevicesAndFifosAsThemselves) {
  TempTree tree;
  fs::create_symlink("/dev/null", tree.path("null.ini"));
  EXPECT_TRUE(saveFile(tree.path("null.ini"), "discarded"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));

  const std::string fifo = tree.path("pipe.ini");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Without a reader a save must fail at once rather than wait for one.
  EXPECT_FALSE(saveFile(fifo, "nobody listens"));
  std::string received;
  std::thread reader([&] {
    int fd = ::open(fifo.c_str(), O_RDONLY);
    char buffer[256];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) received.append(buffer, std::size_t(n));
    ::close(fd);
  });
  bool saved = false;
  // The reader opens the FIFO soon; until then there is no reader to write to.
  for (int attempt = 0; attempt < 500 && !saved; ++attempt) {
    saved = saveFile(fifo, "through the pipe");
    if (!saved) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (!saved) ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));  // lets the reader finish
  reader.join();
  EXPECT_TRUE(saved);
  EXPECT_EQ(received, "through the pipe");
  EXPECT_TRUE(fs::is_fifo(fifo));
}

struct FailureCase {
  const char* label;
  bool existing;
  bool hardLinked;
};

TEST(SaveFile, AFailedWriteLeavesThePreviousFile) {
  const FailureCase cases[] = {
      {"new file", false, false},
      {"replaced through a temporary file", true, false},
      {"written in place", true, true},
  };
  const std::string big(100000, 'x');
  for (const FailureCase& c : cases) {
    TempTree tree;
    const std::string path = tree.path("level.ini");
    if (c.existing) tree.file("level.ini", "previous");
    if (c.hardLinked) fs::create_hard_link(path, tree.path("other.ini"));
    bool saved;
    {
      FileSizeLimit limit(4096);
      saved = saveFile(path, big);
    }
    EXPECT_FALSE(saved) << c.label;
    EXPECT_EQ(fs::exists(path), c.existing) << c.label;
    if (c.existing) {
      EXPECT_EQ(readFile(path), "previous") << c.label;
    }
    if (c.hardLinked) {
      EXPECT_EQ(readFile(tree.path("other.ini")), "previous") << c.label;
    }
    EXPECT_EQ(entriesIn(tree.root()), (c.existing ? 1u : 0u) + (c.hardLinked ? 1u : 0u)) << c.label;
  }
}

// Saves as an ordinary user: in a child process that drops the superuser's
// rights, or in this process when it has none. Nothing when that cannot be
// arranged.
std::optional<bool> saveAsOrdinaryUser(const std::string& path, const std::string& bytes) {
  if (::geteuid() != 0) return saveFile(path, bytes);
  pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    ::_exit(saveFile(path, bytes) ? 0 : 1);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) > 1) {
    return std::nullopt;
  }
  return WEXITSTATUS(status) == 0;
}

struct RightsCase {
  const char* label;
  mode_t folderMode;
  bool ownedByRoot;  // the file belongs to someone else than the saving user
};

TEST(SaveFile, WritesInPlaceWhereNoReplacementCanBeMade) {
  const RightsCase cases[] = {
      {"folder refuses a temporary file", 0555, false},
      {"file of another owner in a shared folder", 0777, true},
  };
  for (const RightsCase& c : cases) {
    if (c.ownedByRoot && ::geteuid() != 0) continue;  // such a file cannot be made
    TempTree tree;
    const std::string path = tree.file("shared.ini", "previous");
    ::chmod(path.c_str(), 0666);
    ::chmod(tree.root().c_str(), c.folderMode);
    const struct stat before = statusOf(path);
    const std::optional<bool> saved = saveAsOrdinaryUser(path, "new");
    ::chmod(tree.root().c_str(), 0700);
    ASSERT_TRUE(saved.has_value()) << c.label;
    EXPECT_TRUE(*saved) << c.label;
    EXPECT_EQ(readFile(path), "new") << c.label;
    const struct stat after = statusOf(path);
    EXPECT_EQ(after.st_ino, before.st_ino) << c.label;
    EXPECT_EQ(after.st_uid, before.st_uid) << c.label;
    EXPECT_EQ(after.st_mode & 07777, 0666u) << c.label;
    EXPECT_EQ(entriesIn(tree.root()), 1u) << c.label;
  }
}

}  // namespace
}  // namespace lkit
