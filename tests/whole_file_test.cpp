// The writer of the tools' files in a scratch folder: what it writes and
// replaces, what it refuses before any work, and that nothing named appears
// beside the target until the file is complete.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "recording/whole_file.h"

namespace {

namespace fs = std::filesystem;

class WholeFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/ironstep-whole-file-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string listing() const
    {
        std::set<std::string> sorted;
        for (const auto& entry : fs::directory_iterator(folder_))
            sorted.insert(entry.path().filename().string());
        std::string names;
        for (const std::string& name : sorted)
            names += name + "\n";
        return names;
    }
    static std::string read(const fs::path& path)
    {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path folder_;
};

TEST_F(WholeFileTest, WritesANewNameAnOrdinaryFileOrALinksTargetWholeAndNothingBesideThem)
{
    const fs::path out = folder_ / "out", target = folder_ / "elsewhere" / "target";
    fs::create_directory(folder_ / "elsewhere");
    std::ofstream(target) << "old target";
    fs::create_symlink("elsewhere/target", folder_ / "link");
    const std::string names = "elsewhere\nlink\n";

    for (bool unnamed : {true, false}) {
        WholeFileWriter writer;
        ASSERT_EQ(unnamed ? open_whole_file(writer, out) : open_whole_file_named(writer, out), "");
        // Until it is complete the file has no name, or a temporary one removed on the way out.
        EXPECT_EQ(listing().size() - names.size(), unnamed ? 0u : 11u) << listing();
        abandon_whole_file(writer);
        EXPECT_EQ(listing(), names);
    }
    ASSERT_EQ(write_whole_file(out.string(), "first"), "");
    ASSERT_EQ(write_whole_file(out.string(), "second"), "");
    EXPECT_EQ(read(out), "second") << "an ordinary file replaced whole";
    WholeFileWriter named;
    ASSERT_EQ(open_whole_file_named(named, (folder_ / "link").string()), "");
    ASSERT_EQ(finish_whole_file(named, "through the link"), "");
    EXPECT_TRUE(fs::is_symlink(folder_ / "link"));
    EXPECT_EQ(read(target), "through the link");
    EXPECT_EQ(listing(), names + "out\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "elsewhere"), {}), 1) << "nothing beside the target";
}

TEST_F(WholeFileTest, RefusesAnEmptyNameAFolderAPipeASocketAndADeviceBeforeAnyWork)
{
    ASSERT_EQ(mkfifo((folder_ / "pipe").c_str(), 0644), 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s/socket", folder_.c_str());
    const int socket_fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(socket_fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    // The device is the scratch folder's own copy of /dev/full (1, 7); only root may make one.
    const bool device = mknod((folder_ / "full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
    fs::create_symlink("full", folder_ / "link_to_device");
    const std::string before = listing();

    std::vector<std::pair<std::string, std::string>> refused = {
        {"", "the file name is empty"},
        {folder_.string(), folder_.string() + ": is a folder, not an ordinary file"},
        {(folder_ / "pipe").string(), "/pipe: is a named pipe, not an ordinary file"},
        {(folder_ / "socket").string(), "/socket: is a socket, not an ordinary file"},
    };
    if (device) {
        refused.push_back({(folder_ / "full").string(), "/full: is a device, not an ordinary file"});
        refused.push_back({(folder_ / "link_to_device").string(), "/link_to_device: leads to " + folder_.string() +
                                                                      "/full, a device"});
    }
    for (const auto& [path, message] : refused) {
        WholeFileWriter writer;
        const std::string fault = open_whole_file(writer, path);
        EXPECT_NE(fault.find(message), std::string::npos) << path << ": " << fault;
        EXPECT_EQ(writer.fd, -1) << path;
        EXPECT_EQ(listing(), before) << path;
    }
    close(socket_fd);
    struct stat info;
    EXPECT_TRUE(!device || (stat((folder_ / "full").c_str(), &info) == 0 && S_ISCHR(info.st_mode)));
    if (!device)
        GTEST_SKIP() << "not root: no device node to refuse";
}

} // namespace
