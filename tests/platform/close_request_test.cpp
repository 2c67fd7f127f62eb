// A close request (a termination signal, Quit under an open box) ends every
// nested loop first and reaches the window only from the outermost loop,
// once.
#include <gtest/gtest.h>

#include <signal.h>

#include <vector>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/modal.h"
#include "platform/window.h"

namespace {
struct Frame : plat::Window {
    std::vector<plat::WPARAM> closes;
    std::vector<int> depthAtClose;
    void OnClose() override {
        closes.push_back(0);
        depthAtClose.push_back(plat::app::NestingDepth());
    }
    plat::LRESULT WindowProc(unsigned msg, plat::WPARAM w, plat::LPARAM l) override {
        if (msg == plat::WM_CLOSE) closes.push_back(w);
        return plat::Window::WindowProc(msg, w, l);
    }
};

// Asks for the close from a timer, as a signal would arrive while a box waits.
struct Asker : plat::Window {
    plat::Window* target = nullptr;
    plat::WPARAM how = plat::kCloseBySignal;
    void OnTimer(unsigned id) override {
        KillTimer(id);
        plat::app::RequestClose(target, how);
    }
};

int Delivered(const Frame& f) { return int(f.depthAtClose.size()); }
}  // namespace

TEST(CloseRequest, EndsTheNestedLoopsFirstThenClosesOnceFromTheOutermost) {
    Frame frame;
    frame.Create("frame", 0, {0, 0, 100, 100}, nullptr, 0);
    Asker asker;
    asker.Create("asker", 0, {0, 0, 10, 10}, nullptr, 0);
    asker.target = &frame;
    asker.SetTimer(1, 100);
    const std::uint32_t t0 = plat::GetTickCount();
    bool innerEnded = false;
    // A dialog that opens a box: both loops end, as cancelled.
    const bool outer = plat::app::RunNested([&] {
        if (!innerEnded) {
            EXPECT_FALSE(plat::app::RunNested([] { return false; }));
            innerEnded = true;
        }
        return false;
    });
    EXPECT_FALSE(outer);
    EXPECT_TRUE(innerEnded);
    EXPECT_LT(plat::GetTickCount() - t0, 1000u);
    EXPECT_EQ(Delivered(frame), 0);  // not under the loops
    plat::DeliverPosted();
    ASSERT_EQ(Delivered(frame), 1);
    EXPECT_EQ(frame.depthAtClose[0], 0);
    EXPECT_EQ(frame.closes[0], plat::kCloseBySignal);

    // Nobody answers any more: a box opened during the close ends at once,
    // and a second signal does not start the close again.
    EXPECT_TRUE(plat::app::ClosingModals());
    Frame dlg;
    dlg.Create("dialog", 0, {0, 0, 10, 10}, &frame, 0);
    EXPECT_EQ(plat::RunModal(&dlg), plat::IDCANCEL);
    EXPECT_FALSE(plat::app::RunNested([] { return false; }));
    plat::app::RequestClose(&frame, plat::kCloseBySignal);
    plat::DeliverPosted();
    plat::manual_clock::Advance(100);
    EXPECT_EQ(Delivered(frame), 1);
}

TEST(CloseRequest, SignalsEndANestedLoopAndASecondIsIgnored) {
    Frame frame;
    frame.Create("frame", 0, {0, 0, 100, 100}, nullptr, 0);
    plat::app::InstallCloseSignals(&frame);
    // Raises the signal from inside the loop, as a person's kill would.
    struct Raise : plat::Window {
        void OnTimer(unsigned id) override {
            KillTimer(id);
            ::raise(SIGTERM);
        }
    } raiser;
    raiser.Create("r", 0, {0, 0, 10, 10}, nullptr, 0);
    raiser.SetTimer(1, 50);
    const std::uint32_t t0 = plat::GetTickCount();
    EXPECT_FALSE(plat::app::RunNested([] { return false; }));
    EXPECT_LT(plat::GetTickCount() - t0, 1000u);
    plat::DeliverPosted();
    ASSERT_EQ(Delivered(frame), 1);
    ::raise(SIGINT);
    EXPECT_FALSE(plat::app::RunNested([] { return false; }));
    plat::DeliverPosted();
    EXPECT_EQ(Delivered(frame), 1);
}

TEST(CloseRequest, AnOperatorsCloseStillAsksItsQuestions) {
    Frame frame;
    frame.Create("frame", 0, {0, 0, 100, 100}, nullptr, 0);
    Asker asker;
    asker.Create("asker", 0, {0, 0, 10, 10}, nullptr, 0);
    asker.target = &frame;
    asker.how = 0;  // Quit under an open box
    asker.SetTimer(1, 30);
    EXPECT_FALSE(plat::app::RunNested([] { return false; }));
    plat::DeliverPosted();
    ASSERT_EQ(Delivered(frame), 1);
    EXPECT_EQ(frame.closes[0], 0u);
    // The close's own questions get their loop again.
    EXPECT_FALSE(plat::app::ClosingModals());
    int polls = 0;
    EXPECT_TRUE(plat::app::RunNested([&] { return ++polls > 3; }));
}
