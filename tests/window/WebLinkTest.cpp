// The web link: the command line it builds, and that nothing it does can trouble the editor.
#include <map>
#include <stdexcept>

#include "WindowTestSupport.h"
#include "controls/ClickableLabel.h"
#include "controls/PictureBoxView.h"
#include "controls/WebLink.h"

namespace mosaikon::test {
namespace {

class FakeShell final : public Shell {
public:
    std::string Environ(const std::string& name) override {
        if (failEnviron) {
            throw std::runtime_error("no environment");
        }
        const auto found = variables.find(name);
        return found == variables.end() ? std::string() : found->second;
    }
    void start(const std::string& commandLine, int windowStyle) override {
        started.emplace_back(commandLine, windowStyle);
        if (failStart) {
            throw std::runtime_error("no such program");
        }
    }
    std::map<std::string, std::string> variables;
    std::vector<std::pair<std::string, int>> started;
    bool failEnviron = false;
    bool failStart = false;
};

TEST(CommandLineTest, ExplorerWithTheQuotedAddress) {
    EXPECT_EQ(explorerCommandLine("C:\\WINDOWS", "https://mosaikon.example.org"),
              "C:\\WINDOWS\\explorer.exe \"https://mosaikon.example.org\"");
    EXPECT_EQ(explorerCommandLine("", "https://mosaikon.example.org"),
              "\\explorer.exe \"https://mosaikon.example.org\"");
    EXPECT_EQ(quotedAddress("C:\\W\\explorer.exe \"https://a.example\""), "https://a.example");
    EXPECT_EQ(quotedAddress("explorer.exe"), "");
    EXPECT_EQ(quotedAddress("\"unclosed"), "");
}

class WebLinkTest : public ShownWindowTest {
protected:
    void SetUp() override {
        ShownWindowTest::SetUp();
        window.setShell(shell);
    }
    void click(QWidget* link) {
        QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    }
    FakeShell shell;
};

TEST_F(WebLinkTest, LogoAndLinkLabelStartTheSameCommandLine) {
    shell.variables["windir"] = "C:\\WINDOWS";
    click(window.Image2());
    click(window.Label3());
    const std::pair<std::string, int> expected{
        "C:\\WINDOWS\\explorer.exe \"https://mosaikon.example.org\"", 1};
    EXPECT_EQ(shell.started, (std::vector<std::pair<std::string, int>>{expected, expected}));
}

TEST_F(WebLinkTest, WithoutWindirTheCommandLineStartsAtTheBackslash) {
    window.OpenWebsite("https://other.example");
    ASSERT_EQ(shell.started.size(), 1u);
    EXPECT_EQ(shell.started[0].first, "\\explorer.exe \"https://other.example\"");
}

TEST_F(WebLinkTest, FailuresAreSwallowedAndTheEditorIsUntouched) {
    QTest::mouseClick(window.lblColor(13), Qt::LeftButton, Qt::NoModifier, QPoint(11, 11));
    QTest::mouseClick(window.LargePicture(), Qt::LeftButton, Qt::NoModifier, QPoint(16, 16));
    const auto icon = window.canvas().SmallPicture.pixels();
    const auto view = window.canvas().LargePicture.pixels();
    const Colour colour = window.canvas().state.CurrentColor;

    shell.failStart = true;
    shell.failEnviron = true;
    const int boxes = modalBoxesDuring([this] {
        click(window.Label3());
        click(window.Image2());
    });
    EXPECT_EQ(boxes, 0) << "no message";
    EXPECT_EQ(modalBoxesDuring(
                  [this] { window.runHandler([] { throw std::runtime_error("escaped"); }); }),
              1)
        << "a failure that reached the handler guard would have shown a message";
    EXPECT_EQ(shell.started.size(), 2u) << "a failing variable read still starts";
    EXPECT_EQ(shell.started[0].first, "\\explorer.exe \"https://mosaikon.example.org\"");
    EXPECT_EQ(window.canvas().SmallPicture.pixels(), icon);
    EXPECT_EQ(window.canvas().LargePicture.pixels(), view);
    EXPECT_EQ(window.canvas().state.CurrentColor, colour);

    // Still fully usable.
    QTest::mouseClick(window.lblColor(4), Qt::LeftButton, Qt::NoModifier, QPoint(11, 11));
    EXPECT_EQ(window.canvas().state.CurrentColor.value(), 0x00FF0000u);
}

}  // namespace
}  // namespace mosaikon::test
