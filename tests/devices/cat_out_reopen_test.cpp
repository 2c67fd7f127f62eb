// A CAT-out port whose device goes away (a logger's USB adapter unplugged)
// and comes back at the same ports/com link: the upkeep tries it again every
// few seconds without a box, and once back it answers and is told the
// frequency and mode as after start-up.
#include <unistd.h>

#include <memory>

#include "devices/cat_fixture.h"
#include "platform/message_box.h"

namespace {

int Boxes(const std::string& text) {
    int n = 0;
    for (const auto& shown : plat::message_box_script::History())
        if (shown.text.find(text) != std::string::npos) ++n;
    return n;
}

struct ReplugCat : CatLink {
    std::unique_ptr<PtyPair> logger;
    std::unique_ptr<realwait::PortEnd> loggerEnd;

    ReplugCat() {
        plug();
        std::snprintf(g_thpcomport, sizeof g_thpcomport, "COM5");
        ReopenThpPort(1, 1);  // as the settings window does
        Poll();
        heard();
    }
    void plug() {
        logger = std::make_unique<PtyPair>();
        loggerEnd = std::make_unique<realwait::PortEnd>(*logger);
        EXPECT_TRUE(logger->link("ports/com5"));
    }
    // The link dangles, as a link to an unplugged adapter's by-id name does.
    void unplug() {
        loggerEnd.reset();
        logger.reset();
        ::unlink("ports/com5");
        EXPECT_EQ(::symlink("unplugged", "ports/com5"), 0);
    }
    // Seconds of the one-second upkeep.
    void seconds(int n) {
        for (int k = 0; k < n; ++k) RetryThpPorts();
    }
    std::string heard() { return loggerEnd->takeText(); }
    void ask(const std::string& text) {
        EXPECT_TRUE(loggerEnd->give(text));
        Poll();
    }
};

}  // namespace

TEST(CatOutReopen, ALostPortIsRetriedQuietlyAndAnswersOnceBack) {
    ReplugCat c;
    ASSERT_TRUE(g_thpopen[0]);
    c.ask("FA;");
    EXPECT_EQ(c.heard(), "FA00014025000;");
    plat::message_box_script::Clear();

    c.unplug();
    c.Poll();
    EXPECT_EQ(g_thpport[0], plat::kInvalidPort);
    EXPECT_FALSE(g_thpopen[0]);
    c.seconds(30);
    EXPECT_EQ(Boxes("Error accessing"), 0);
    EXPECT_LE(Boxes("is defective"), 1);
    EXPECT_EQ(c.traced("Tokyo High Power port COM5 closed, retrying"), 1);
    EXPECT_EQ(c.traced("Open THP port COM5, id -1"), 0);

    c.plug();
    int waited = 0;
    while (!g_thpopen[0] && waited < 10) {
        c.seconds(1);
        ++waited;
    }
    ASSERT_TRUE(g_thpopen[0]);
    EXPECT_LE(waited, 3);
    EXPECT_EQ(c.traced("Tokyo High Power port COM5 reopened"), 1);
    // The device on the port may be new: it is told where the radio is.
    c.Poll();
    EXPECT_EQ(c.heard(), "FA00014025000;MD2;");
    c.ask("FA;MD;");
    EXPECT_EQ(c.heard(), "FA00014025000;MD2;");
}

TEST(CatOutReopen, APortSwitchedOffIsNotReopened) {
    ReplugCat c;
    ReopenThpPort(1, 0);
    c.seconds(10);
    EXPECT_FALSE(g_thpopen[0]);
    EXPECT_EQ(c.traced("closed, retrying"), 0);
    CloseThpPorts();
    c.seconds(10);
    EXPECT_FALSE(g_thpopen[0]);
}
