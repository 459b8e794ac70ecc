// The writer of the tools' files in a scratch folder: what it replaces, what
// it refuses before any work, and that nothing named lies beside the target.
#include <filesystem>
#include <fstream>
#include <set>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/whole_file.h"

namespace {

namespace fs = std::filesystem;

std::set<std::string> names(const fs::path& folder)
{
    std::set<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        found.insert(entry.path().lexically_relative(folder).string());
    return found;
}

TEST(WholeFileTest, ReplacesAFileOrALinksTargetWholeAndRefusesAnythingElseBeforeAnyWork)
{
    char pattern[] = "/tmp/ironstep-test-XXXXXX";
    const fs::path folder = mkdtemp(pattern);
    fs::create_directory(folder / "sub");
    std::ofstream(folder / "sub" / "target") << "an old target, longer than the new";
    fs::create_symlink("sub/target", folder / "link");
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0644), 0);
    sockaddr_un address = {AF_UNIX, {}};
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s/socket", folder.c_str());
    const int socket_fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(socket_fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    // The folder's own copy of /dev/full (1, 7), which only root may make.
    const bool device = mknod((folder / "full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
    const std::set<std::string> before = names(folder);

    for (const std::string& refused : {std::string(), folder.string(), (folder / "pipe").string(),
                                       (folder / "socket").string(), (folder / (device ? "full" : "pipe")).string()}) {
        WholeFileWriter writer;
        EXPECT_NE(open_whole_file(writer, refused), "") << refused;
        EXPECT_EQ(writer.fd, -1) << refused;
    }
    WholeFileWriter unnamed, named;
    ASSERT_EQ(open_whole_file(unnamed, (folder / "link").string()), "");
    ASSERT_EQ(open_whole_file_named(named, (folder / "new").string()), "");
    EXPECT_EQ(names(folder).size(), before.size() + 1) << "only the named temporary, until done";
    ASSERT_EQ(finish_whole_file(unnamed, "new"), "");
    abandon_whole_file(named);
    EXPECT_EQ(names(folder), before) << "the link kept, and nothing left behind";
    std::ifstream target(folder / "sub" / "target");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(target), {}), "new") << "replaced whole";
    struct stat info;
    EXPECT_TRUE(!device || (stat((folder / "full").c_str(), &info) == 0 && S_ISCHR(info.st_mode)));
    close(socket_fd);
    fs::remove_all(folder);
}

} // namespace
