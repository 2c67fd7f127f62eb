// An owner window that records what the panel controls tell it, and the
// helpers the control tests share.
#pragma once
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/input_synth.h"
#include "platform/paint.h"
#include "platform/window.h"

struct ControlOwner : plat::Window {
    std::vector<unsigned> commands;
    std::vector<std::tuple<unsigned, plat::WPARAM, plat::LPARAM>> messages;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM) override {
        // Notifications of the toolkit edits (EN_CHANGE ...) are not what we check.
        if (code == 0) commands.push_back(id);
        return true;
    }
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM w, plat::LPARAM l) override {
        messages.emplace_back(msg, w, l);
        return 0;
    }
    int Count(unsigned id) const {
        int n = 0;
        for (unsigned c : commands) n += c == id;
        return n;
    }
    int CountMessages(unsigned msg) const {
        int n = 0;
        for (const auto& m : messages) n += std::get<0>(m) == msg;
        return n;
    }
    void Open(int w = 640, int h = 400) {
        Create("owner", plat::WS_OVERLAPPEDWINDOW, {0, 0, w, h}, nullptr, 0);
        ShowWindow(plat::SW_SHOW);
    }
};

inline void Advance(unsigned ms) { plat::manual_clock::Advance(ms); }

inline bool Near(plat::Colour a, plat::Colour b, int tol = 24) {
    auto d = [](int x, int y) { return x > y ? x - y : y - x; };
    return d(plat::GetRValue(a), plat::GetRValue(b)) <= tol && d(plat::GetGValue(a), plat::GetGValue(b)) <= tol &&
           d(plat::GetBValue(a), plat::GetBValue(b)) <= tol;
}

// True when some pixel of the window's rectangle r is near `c`.
inline bool AnyPixel(plat::Window* w, plat::Rect r, plat::Colour c, int tol = 24) {
    const plat::Snapshot s = plat::TakeSnapshot(w);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (Near(s.At(x, y), c, tol)) return true;
    return false;
}
