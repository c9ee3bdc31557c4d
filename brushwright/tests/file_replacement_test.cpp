// An export writes where the user pointed: through links, into devices and
// FIFOs, over hard-linked and foreign-owned files, and never half a file over
// a whole one.

#include "plugin/file_replacement.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "plugin/map_text_file.h"
#include "tests/test_support.h"

namespace brushwright_test {
namespace {

namespace fs = std::filesystem;

struct stat statusOf(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status;
}

size_t entriesIn(const std::string& folder) {
  return static_cast<size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Writes `text` through MapTextFile, as the exporter does; false when open or commit fails.
bool exportText(const std::string& path, const std::string& text) {
  MapTextFile file;
  if (!file.open(path)) return false;
  file.write(text);
  return file.commit();
}

TEST(FileReplacement, WritesTheFileThePathLeadsTo) {
  struct Case {
    std::string label;
    std::function<void(const TempFolder&)> prepare;
    std::string chosen;
    bool written;
    std::string holder;  // the file that must hold the text; empty: none
    std::string link;    // must still be a symbolic link; empty: none
  };
  const Case cases[] = {
      {"new file", [](const TempFolder&) {}, "new.map", true, "new.map", ""},
      {"relative link",
       [](const TempFolder& f) {
         writeFile(f.path("real.map"), "old");
         fs::create_symlink("real.map", f.path("link.map"));
       },
       "link.map", true, "real.map", "link.map"},
      {"link to a link in another folder",
       [](const TempFolder& f) {
         fs::create_directory(f.path("maps"));
         writeFile(f.path("maps/real.map"), "old");
         fs::create_symlink("real.map", f.path("maps/inner.map"));
         fs::create_symlink(f.path("maps/inner.map"), f.path("outer.map"));
       },
       "outer.map", true, "maps/real.map", "outer.map"},
      {"dangling link",
       [](const TempFolder& f) { fs::create_symlink("made.map", f.path("l.map")); }, "l.map", true,
       "made.map", "l.map"},
      {"loop of links",
       [](const TempFolder& f) {
         fs::create_symlink("b.map", f.path("a.map"));
         fs::create_symlink("a.map", f.path("b.map"));
       },
       "a.map", false, "", "a.map"},
      {"folder in the file's place", [](const TempFolder& f) { fs::create_directory(f.path("d")); },
       "d", false, "", ""},
      {"missing folder", [](const TempFolder&) {}, "none/x.map", false, "", ""},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    c.prepare(folder);
    EXPECT_EQ(exportText(folder.path(c.chosen), "a\nb\n"), c.written) << c.label;
    if (!c.holder.empty()) {
      EXPECT_EQ(readFile(folder.path(c.holder)), "a\r\nb\r\n") << c.label;
    }
    if (!c.link.empty()) {
      EXPECT_TRUE(fs::is_symlink(folder.path(c.link))) << c.label;
    }
  }
}

TEST(FileReplacement, KeepsOwnerGroupModeAndHardLinks) {
  TempFolder folder;
  const std::string plain = folder.path("plain.map");
  writeFile(plain, "old");
  ::chmod(plain.c_str(), 0604);
  const bool root = ::geteuid() == 0;
  const uid_t owner = root ? 5432 : ::geteuid();
  const gid_t group = root ? 5433 : ::getegid();
  ASSERT_EQ(::chown(plain.c_str(), owner, group), 0);
  const std::string linked = folder.path("linked.map");
  writeFile(linked, "a much longer previous text");
  fs::create_hard_link(linked, folder.path("alias.map"));
  const ino_t inode = statusOf(linked).st_ino;

  ASSERT_TRUE(exportText(plain, "new"));
  ASSERT_TRUE(exportText(linked, "short"));

  const struct stat plainStatus = statusOf(plain);
  EXPECT_EQ(plainStatus.st_mode & 07777, 0604u);
  EXPECT_EQ(plainStatus.st_uid, owner);
  EXPECT_EQ(plainStatus.st_gid, group);
  EXPECT_EQ(readFile(plain), "new");
  EXPECT_EQ(statusOf(linked).st_ino, inode);
  EXPECT_EQ(statusOf(linked).st_nlink, 2u);
  EXPECT_EQ(readFile(folder.path("alias.map")), "short");
  EXPECT_EQ(entriesIn(folder.path("")), 3u);
}

TEST(FileReplacement, WritesDevicesAndFifosAsThemselves) {
  TempFolder folder;
  fs::create_symlink("/dev/null", folder.path("null.map"));
  EXPECT_TRUE(exportText(folder.path("null.map"), "gone\n"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));

  const std::string fifo = folder.path("pipe.map");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(replaceFileContents(fifo, "nobody reads"));  // fails at once, never waits
  std::string received;
  std::thread reader([&] {
    const int descriptor = ::open(fifo.c_str(), O_RDONLY);
    char buffer[128];
    ssize_t count;
    while ((count = ::read(descriptor, buffer, sizeof buffer)) > 0) {
      received.append(buffer, static_cast<size_t>(count));
    }
    ::close(descriptor);
  });
  bool written = false;
  for (int attempt = 0; attempt < 500 && !written; ++attempt) {
    written = replaceFileContents(fifo, "piped");
    if (!written) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (!written) ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));  // lets the reader end
  reader.join();
  EXPECT_TRUE(written);
  EXPECT_EQ(received, "piped");
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(FileReplacement, AFailedWriteKeepsThePreviousFile) {
  struct Case {
    std::string label;
    bool existing, hardLinked;
  };
  const Case cases[] = {
      {"new file", false, false},
      {"replaced by rename", true, false},
      {"rewritten in place", true, true},
  };
  const std::string big(100000, 'x');
  for (const Case& c : cases) {
    TempFolder folder;
    const std::string target = folder.path("level.map");
    if (c.existing) writeFile(target, "previous");
    if (c.hardLinked) fs::create_hard_link(target, folder.path("alias.map"));
    bool written;
    {
      FileSizeLimit limit(4096);
      written = replaceFileContents(target, big);
    }
    EXPECT_FALSE(written) << c.label;
    EXPECT_EQ(readFile(target), c.existing ? std::optional<std::string>("previous") : std::nullopt)
        << c.label;
    if (c.hardLinked) {
      EXPECT_EQ(readFile(folder.path("alias.map")), "previous") << c.label;
    }
    EXPECT_EQ(entriesIn(folder.path("")), size_t(c.existing) + size_t(c.hardLinked)) << c.label;
  }
}

// Replaces as an ordinary user: a child that drops the superuser's rights, or
// this process when it has none. Nothing when that cannot be arranged.
std::optional<bool> replaceAsOrdinaryUser(const std::string& target, const std::string& bytes) {
  if (::geteuid() != 0) return replaceFileContents(target, bytes);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    ::_exit(replaceFileContents(target, bytes) ? 0 : 1);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) > 1) {
    return std::nullopt;
  }
  return WEXITSTATUS(status) == 0;
}

TEST(FileReplacement, WritesInPlaceWhereNoReplacementCanBeMade) {
  struct Case {
    std::string label;
    mode_t folderMode;
    bool foreignOwner;
  };
  const Case cases[] = {
      {"folder refuses a temporary file", 0555, false},
      {"file of another owner in a shared folder", 0777, true},
  };
  for (const Case& c : cases) {
    if (c.foreignOwner && ::geteuid() != 0) continue;  // only the superuser can make one
    TempFolder folder;
    const std::string target = folder.path("shared.map");
    writeFile(target, "previous");
    ::chmod(target.c_str(), 0666);
    const std::string root = folder.path("");
    ::chmod(root.c_str(), c.folderMode);
    const struct stat before = statusOf(target);
    const std::optional<bool> written = replaceAsOrdinaryUser(target, "new");
    ::chmod(root.c_str(), 0700);
    ASSERT_TRUE(written.has_value()) << c.label;
    EXPECT_TRUE(*written) << c.label;
    EXPECT_EQ(readFile(target), "new") << c.label;
    EXPECT_EQ(statusOf(target).st_ino, before.st_ino) << c.label;
    EXPECT_EQ(statusOf(target).st_uid, before.st_uid) << c.label;
    EXPECT_EQ(entriesIn(root), 1u) << c.label;
  }
}

}  // namespace
}  // namespace brushwright_test
