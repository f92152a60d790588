// The bundle and its folder from an executable's path, the path buffer's
// limit, the name read from Info.plist, and the menus as data.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

#include "shell/SDLMain.h"
#include "shell/menu.h"
#include "shell/system.h"

TEST(Bundle, IsTheAppFolderAroundContentsMacOS)
{
    EXPECT_EQ(bundlePath("/opt/demo/Vorlex.app/Contents/MacOS/Vorlex"), "/opt/demo/Vorlex.app");
    EXPECT_EQ(bundlePath("/Vorlex.app/Contents/MacOS/any name"), "/Vorlex.app");
    // An executable deleted while it runs keeps its place in its bundle.
    EXPECT_EQ(bundlePath("/a/X.app/Contents/MacOS/Vorlex (deleted)"), "/a/X.app");
}

TEST(Bundle, IsTheExecutablesOwnFolderOtherwise)
{
    EXPECT_EQ(bundlePath("/usr/games/vorlex"), "/usr/games");
    EXPECT_EQ(bundlePath("/opt/Vorlex/Contents/MacOS/Vorlex"), "/opt/Vorlex/Contents/MacOS");
    EXPECT_EQ(bundlePath("/opt/Vorlex.app/Contents/Linux/Vorlex"), "/opt/Vorlex.app/Contents/Linux");
    EXPECT_EQ(bundlePath("/opt/Vorlex.app/MacOS/Vorlex"), "/opt/Vorlex.app/MacOS");
    EXPECT_EQ(bundlePath("/opt/.app/Contents/MacOS/Vorlex"), "/opt/.app/Contents/MacOS");
    EXPECT_EQ(bundlePath("/vorlex"), "/");
    EXPECT_EQ(bundlePath(""), "");
}

TEST(Bundle, ItsParentIsTheFolderThatHoldsIt)
{
    EXPECT_EQ(parentFolder("/opt/demo/Vorlex.app"), "/opt/demo");
    EXPECT_EQ(parentFolder("/Vorlex.app"), "/");
    EXPECT_EQ(parentFolder("/"), "/");
    EXPECT_EQ(parentFolder(""), "");
}

TEST(Bundle, OfThisProcessFollowsItsExecutable)
{
    const std::string executable = executablePath();
    ASSERT_FALSE(executable.empty());
    EXPECT_EQ(executable.substr(executable.rfind('/') + 1), "shell_unit_test");
    EXPECT_EQ(mainBundlePath(), executable.substr(0, executable.rfind('/')));
}

TEST(FileSystemRepresentation, NeedsRoomForThePathAndItsZeroByte)
{
    char buffer[1024];
    const std::string fits = "/" + std::string(1022, 'a');  // 1023 bytes and the zero
    ASSERT_TRUE(fileSystemRepresentation(fits, buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer), fits);

    EXPECT_FALSE(fileSystemRepresentation(fits + "b", buffer, sizeof buffer));
    EXPECT_FALSE(fileSystemRepresentation("", buffer, sizeof buffer)) << "no path is none to give";
}

namespace {

// The name, or "refused: <reason>".
std::string nameAt(const std::string &path)
{
    std::string name, why;
    return bundleName(path, &name, &why) ? name : "refused: " + why;
}

class BundleName : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/vorlex-plist-XXXXXX";
        const int file = mkstemp(name);
        ASSERT_GE(file, 0);
        close(file);
        path_ = name;
    }
    void TearDown() override { std::remove(path_.c_str()); }

    std::string nameIn(const std::string &dict)
    {
        std::ofstream(path_) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
                             << dict << "</dict>\n</plist>\n";
        return nameAt(path_);
    }


    std::string path_;
};

} // namespace

TEST_F(BundleName, IsTheCFBundleNameString)
{
    EXPECT_EQ(nameIn("\t<key>CFBundleExecutable</key>\n\t<string>run</string>\n"
                     "\t<key>CFBundleName</key>\n\t<string>Vorlex</string>\n"),
              "Vorlex");
    EXPECT_EQ(nameIn("<key>CFBundleName</key><string>R&amp;D &lt;3&gt; &quot;x&apos;</string>"), "R&D <3> \"x'");
}

TEST_F(BundleName, IsEmptyWithoutAStringForTheKey)
{
    EXPECT_EQ(nameIn("\t<key>CFBundleExecutable</key>\n\t<string>Vorlex</string>\n"), "");
    EXPECT_EQ(nameIn("\t<key>CFBundleName</key>\n\t<string/>\n"), "");
    EXPECT_EQ(nameIn("\t<key>CFBundleName</key>\n\t<string></string>\n"), "");
    EXPECT_EQ(nameIn("\t<key>CFBundleName</key>\n\t<integer>3</integer>\n<string>x</string>"), "");
    EXPECT_EQ(nameIn("\t<key>CFBundleName</key>\n\t<string>cut short"), "");
    EXPECT_EQ(nameAt(path_ + ".missing"), "");
}

TEST_F(BundleName, RefusesWhatIsNoRegularFileOrTooLarge)
{
    EXPECT_EQ(nameAt("/tmp"), "refused: it is not a regular file");
    EXPECT_EQ(nameAt("/dev/zero"), "refused: it is not a regular file");
    const std::string fifo = path_ + ".fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(nameAt(fifo), "refused: it is not a regular file") << "and did not wait for a writer";
    std::remove(fifo.c_str());
    ASSERT_EQ(truncate(path_.c_str(), kLargestInfoPlist + 1), 0);
    EXPECT_EQ(nameAt(path_).substr(0, 27), "refused: it is 65537 bytes,");
}

TEST(InfoPlist, OfTheBuiltBundleNamesVorlex)
{
    EXPECT_EQ(nameAt(VORLEX_BUNDLE "/Contents/Info.plist"), "Vorlex");
}

TEST(ApplicationName, FallsBackOnTheProcessName)
{
    // This test binary lies in no bundle with an Info.plist.
    EXPECT_EQ(applicationName(), "shell_unit_test");
}

namespace {

// One line per item: "title | action | key equivalent | modifier mask".
std::vector<std::string> rows(const Menu &menu)
{
    std::vector<std::string> found;
    for (const MenuItem &item : menu.items) {
        char mask[16];
        std::snprintf(mask, sizeof mask, "%#x", item.modifierMask);
        found.push_back(item.separator ? "separator"
                                       : item.title + " | " + selectorName(item.action) + " | " + item.keyEquivalent + " | " + mask);
    }
    return found;
}

} // namespace

TEST(Menus, HoldTheApplicationMenuWithItsNameAndTheWindowMenu)
{
    const Menu main = mainMenu("demo");
    EXPECT_EQ(rows(main), (std::vector<std::string>{" |  |  | 0", "Window |  |  | 0"}));
    ASSERT_TRUE(main.items.size() == 2 && main.items[0].submenu && main.items[1].submenu);

    EXPECT_EQ(main.items[0].submenu->title, "");
    EXPECT_EQ(rows(*main.items[0].submenu), (std::vector<std::string>{
                                                "About demo | orderFrontStandardAboutPanel: |  | 0",
                                                "separator",
                                                "Hide demo | hide: | h | 0x100000",
                                                "Hide Others | hideOtherApplications: | h | 0x180000",
                                                "Show All | unhideAllApplications: |  | 0",
                                                "separator",
                                                "Quit demo | terminate: | q | 0x100000",
                                            }));
    EXPECT_EQ(main.items[1].submenu->title, "Window");
    EXPECT_EQ(rows(*main.items[1].submenu),
              (std::vector<std::string>{"Minimize | performMiniaturize: | m | 0x100000"}));
}

TEST(Menus, FindAnItemByItsKeyEquivalentAndExactModifiers)
{
    const Menu main = mainMenu("Vorlex");
    auto title = [&](char key, unsigned mask) {
        const MenuItem *item = main.itemForKeyEquivalent(key, mask);
        return item ? item->title : std::string("none");
    };
    EXPECT_EQ(title('q', commandKeyMask), "Quit Vorlex");
    EXPECT_EQ(title('h', commandKeyMask), "Hide Vorlex");
    EXPECT_EQ(title('h', commandKeyMask | alternateKeyMask), "Hide Others");
    EXPECT_EQ(title('m', commandKeyMask), "Minimize");
    EXPECT_EQ(title('q', 0), "none");
    EXPECT_EQ(title('q', commandKeyMask | shiftKeyMask), "none");
    EXPECT_EQ(title('h', alternateKeyMask), "none");
    EXPECT_EQ(title('w', commandKeyMask), "none");
    EXPECT_EQ(title('\0', 0), "none") << "items without a key equivalent match no key";
}
