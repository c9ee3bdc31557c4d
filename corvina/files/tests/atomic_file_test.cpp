// Saving through AtomicFile: what ends up at the target, and what happens to
// links, hard links, FIFOs, owners and modes on the way.

#include "files/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "testing/scratch_folder.h"

namespace corvina {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
 public:
  // A test that fails with a folder locked leaves it removable.
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_ / "locked", fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  void put(const std::string& name, const std::string& text) const {
    std::ofstream(folder_ / name, std::ios::binary) << text;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Saves `text` to `name`; whether the save reported success.
  bool save(const std::string& name, const std::string& text) const {
    AtomicFile file;
    return file.open(path(name)) && file.write(text.data(), text.size()) && file.commit();
  }
  void emptyFolder() const {
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_))
      fs::remove_all(entry.path());
  }
  // Only the files the test made are left: no temporary file behind.
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }

  testing::ScratchFolder scratch_;
  const fs::path folder_ = scratch_.path();
};

TEST_F(AtomicFileTest, TargetsOfEveryKindGetTheNewBytes) {
  struct Case {
    const char* what;
    std::function<void(const AtomicFileTest&)> arrange;
    const char* saved;     // the name the save is given
    const char* readBack;  // where the new bytes must be
    std::function<void(const AtomicFileTest&)> check;
  };
  const Case cases[] = {
      {"a new file", [](const AtomicFileTest&) {}, "new.obj", "new.obj", {}},
      {"a shorter file over a longer one",
       [](const AtomicFileTest& t) { t.put("old.obj", std::string(5000, 'x')); },
       "old.obj",
       "old.obj",
       {}},
      {"through a symbolic link",
       [](const AtomicFileTest& t) {
         t.put("real.obj", "old");
         fs::create_symlink("real.obj", t.path("link.obj"));
       },
       "link.obj", "real.obj",
       [](const AtomicFileTest& t) { EXPECT_TRUE(fs::is_symlink(t.path("link.obj"))); }},
      {"through a link to a link in another folder",
       [](const AtomicFileTest& t) {
         fs::create_directories(t.path("sub"));
         t.put("sub/real.obj", "old");
         fs::create_symlink("sub/real.obj", t.path("first.obj"));
         fs::create_symlink(t.path("first.obj"), t.path("second.obj"));
       },
       "second.obj", "sub/real.obj",
       [](const AtomicFileTest& t) {
         EXPECT_TRUE(fs::is_symlink(t.path("first.obj")));
         EXPECT_TRUE(fs::is_symlink(t.path("second.obj")));
       }},
      {"a link to a file not made yet",
       [](const AtomicFileTest& t) { fs::create_symlink("later.obj", t.path("link.obj")); },
       "link.obj", "later.obj",
       [](const AtomicFileTest& t) { EXPECT_TRUE(fs::is_symlink(t.path("link.obj"))); }},
      {"a file with two hard links",
       [](const AtomicFileTest& t) {
         t.put("one.obj", std::string(100, 'o'));
         fs::create_hard_link(t.path("one.obj"), t.path("two.obj"));
       },
       "one.obj", "two.obj",
       [](const AtomicFileTest& t) {
         EXPECT_EQ(fs::hard_link_count(t.path("one.obj")), 2u);
         EXPECT_EQ(t.read("one.obj"), t.read("two.obj"));
       }},
      {"a file keeps its mode",
       [](const AtomicFileTest& t) {
         t.put("mode.obj", "old");
         ::chmod(t.path("mode.obj").c_str(), 0640);
       },
       "mode.obj", "mode.obj",
       [](const AtomicFileTest& t) {
         struct stat info;
         ASSERT_EQ(::stat(t.path("mode.obj").c_str(), &info), 0);
         EXPECT_EQ(info.st_mode & 07777, 0640u);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    emptyFolder();
    c.arrange(*this);
    const std::size_t before = entries() + (fs::exists(path(c.saved)) ? 0 : 1);
    const std::string text = std::string("new bytes of ") + c.what;
    EXPECT_TRUE(save(c.saved, text));
    EXPECT_EQ(read(c.readBack), text);
    if (c.check) c.check(*this);
    EXPECT_EQ(entries(), before) << "a temporary file was left behind";
  }
}

TEST_F(AtomicFileTest, AFifoIsWrittenNotReplaced) {
  ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] {
    std::ifstream in(path("pipe"), std::ios::binary);
    received.assign(std::istreambuf_iterator<char>(in), {});
  });
  EXPECT_TRUE(save("pipe", "through the pipe"));
  reader.join();
  EXPECT_EQ(received, "through the pipe");
  EXPECT_TRUE(fs::is_fifo(path("pipe")));
}

TEST_F(AtomicFileTest, AnAbandonedSaveLeavesTheOldFileWhole) {
  put("keep.obj", "the old model");
  {
    AtomicFile file;
    ASSERT_TRUE(file.open(path("keep.obj")));
    EXPECT_FALSE(file.writesInPlace());
    ASSERT_TRUE(file.write("half", 4));
  }
  EXPECT_EQ(read("keep.obj"), "the old model");
  EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFileTest, AFolderThatTakesNoNewFileStillTakesTheSave) {
  fs::create_directories(path("locked"));
  put("locked/model.obj", std::string(64, 'x'));
  ::chmod(path("locked").c_str(), 0555);
  // Bit 1: the file itself took the save; bit 2: no new file could be made.
  const auto saves = [this] {
    return (save("locked/model.obj", "new") ? 1 : 0) | (save("locked/other.obj", "new") ? 0 : 2);
  };
  int result = 0;
  if (::geteuid() == 0) {
    // Folder permissions do not bind the superuser: an ordinary user saves,
    // in a child process, to the file it owns.
    constexpr uid_t kNobody = 65534;
    ASSERT_EQ(::chown(path("locked/model.obj").c_str(), kNobody, kNobody), 0);
    const pid_t child = ::fork();
    if (child == 0) {
      if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(100);
      ::_exit(saves());
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    result = WEXITSTATUS(status);
    if (result == 100) GTEST_SKIP() << "this superuser cannot become another user";
  } else {
    result = saves();
  }
  EXPECT_EQ(result & 1, 1) << "the file itself takes the save";
  EXPECT_EQ(result & 2, 2) << "no new file in a locked folder";
  EXPECT_EQ(read("locked/model.obj"), "new");
  ::chmod(path("locked").c_str(), 0755);
}

TEST_F(AtomicFileTest, TheOwnerOfAReplacedFileStays) {
  if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can give files to others";
  put("theirs.obj", "old");
  ASSERT_EQ(::chown(path("theirs.obj").c_str(), 4321, 4322), 0);
  EXPECT_TRUE(save("theirs.obj", "new"));
  struct stat info;
  ASSERT_EQ(::stat(path("theirs.obj").c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 4321u);
  EXPECT_EQ(info.st_gid, 4322u);
  EXPECT_EQ(read("theirs.obj"), "new");
}

}  // namespace
}  // namespace corvina
