#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/message_box.h"
#include "platform/window.h"

namespace {
struct Recorder : plat::Window {
    std::vector<std::string> log;
    std::vector<std::uint32_t> at;
    void OnTimer(unsigned id) override {
        log.push_back("T" + std::to_string(id));
        at.push_back(plat::GetTickCount());
        if (id == 3) KillTimer(3);  // one-shot use, as the program does
    }
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM w, plat::LPARAM) override {
        log.push_back("M" + std::to_string(msg) + ":" + std::to_string(w));
        return 7;
    }
    bool OnCommand(unsigned id, unsigned, plat::LPARAM) override {
        log.push_back("C" + std::to_string(id));
        return true;
    }
};
}  // namespace

TEST(Timers, FireInDueOrderAtTheirPeriods) {
    Recorder w;
    std::uint32_t t0 = plat::GetTickCount();
    w.SetTimer(1, 50);
    w.SetTimer(2, 20);
    w.SetTimer(3, 30);
    plat::manual_clock::Advance(100);
    EXPECT_EQ(w.log, (std::vector<std::string>{"T2", "T3", "T2", "T1", "T2", "T2", "T1", "T2"}));
    EXPECT_EQ(w.at.front() - t0, 20u);
    EXPECT_EQ(plat::GetTickCount() - t0, 100u);
    EXPECT_FALSE(w.HasTimer(3));
}

TEST(Timers, RearmingReplacesAndShortPeriodsRunAtTen) {
    Recorder w;
    w.SetTimer(5, 100);
    plat::manual_clock::Advance(60);
    w.SetTimer(5, 100);  // replaces: next expiry 100 ms from now, not 40
    plat::manual_clock::Advance(60);
    EXPECT_TRUE(w.log.empty());
    plat::manual_clock::Advance(40);
    EXPECT_EQ(w.log.size(), 1u);
    w.SetTimer(6, 0);
    EXPECT_EQ(plat::TimerPeriod(&w, 6), 10u);
    w.log.clear();
    plat::manual_clock::Advance(10);
    EXPECT_EQ(w.log, (std::vector<std::string>{"T6"}));
}

TEST(Timers, DestroyedWindowGetsNothing) {
    auto* w = new Recorder;
    w->SetTimer(1, 10);
    w->PostMessage(plat::WM_USER + 1, 1, 0);
    delete w;
    plat::manual_clock::Advance(50);  // must not touch the deleted window
    EXPECT_EQ(plat::PostedCount(), 0u);
}

TEST(Messages, SendIsSynchronousPostIsQueuedInOrder) {
    Recorder w;
    EXPECT_EQ(w.SendMessage(plat::WM_USER + 1, 9, 0), 7);
    w.PostMessage(plat::WM_USER + 2, 1, 0);
    w.PostMessage(plat::WM_COMMAND, 1213, 0);
    EXPECT_EQ(w.log.size(), 1u);
    EXPECT_EQ(plat::DeliverPosted(), 2);
    EXPECT_EQ(w.log, (std::vector<std::string>{"M1025:9", "M1026:1", "C1213"}));
}

TEST(Messages, PostedMessagesArriveBeforeLaterTimers) {
    Recorder w;
    w.SetTimer(1, 10);
    w.PostMessage(plat::WM_USER, 0, 0);
    plat::manual_clock::Advance(10);
    EXPECT_EQ(w.log, (std::vector<std::string>{"M1024:0", "T1"}));
}

TEST(MessageBoxes, ScriptedAnswersAreRecorded) {
    plat::message_box_script::Clear();
    plat::message_box_script::PushAnswer(plat::IDNO);
    EXPECT_EQ(plat::MessageBox(nullptr, "Save?", "Memories", plat::MB_YESNO), plat::IDNO);
    EXPECT_EQ(plat::MessageBox(nullptr, "Port gone", "Error", plat::MB_OK), plat::IDOK);
    ASSERT_EQ(plat::message_box_script::History().size(), 2u);
    EXPECT_EQ(plat::message_box_script::History()[1].text, "Port gone");
}

TEST(Windows, RegisteredMessagesAreStablePerName) {
    unsigned a = plat::RegisterWindowMessage("one");
    unsigned b = plat::RegisterWindowMessage("two");
    EXPECT_GE(a, 0xC000u);
    EXPECT_NE(a, b);
    EXPECT_EQ(plat::RegisterWindowMessage("one"), a);
}

TEST(Timers, DueSoonRunsAnArmedTimerAfterTheCurrentWorkAndKeepsItsPeriod) {
    Recorder w;
    const std::uint32_t t0 = plat::GetTickCount();
    plat::TimerDueSoon(&w, 4);  // not armed: nothing
    w.SetTimer(4, 50);
    EXPECT_EQ(plat::TimerDueIn(&w, 4), 50);
    EXPECT_EQ(plat::TimerDueIn(&w, 5), -1);
    plat::TimerDueSoon(&w, 4);
    plat::TimerDueSoon(&w, 4);  // asked twice, runs once
    EXPECT_TRUE(w.log.empty());
    plat::manual_clock::Advance(0);
    ASSERT_EQ(w.log, (std::vector<std::string>{"T4"}));
    EXPECT_EQ(w.at[0], t0);
    EXPECT_EQ(plat::TimerDueIn(&w, 4), 50);  // its period starts again
    plat::manual_clock::Advance(50);
    EXPECT_EQ(w.log.size(), 2u);
    // Killed before the loop came round: it does not run.
    plat::TimerDueSoon(&w, 4);
    w.KillTimer(4);
    plat::manual_clock::Advance(100);
    EXPECT_EQ(w.log.size(), 2u);
}
