// A recording view and main frame for the radio panel's tests.
#pragma once
#include <string>
#include <vector>

#include "panel/swl_panel.h"
#include "platform/window.h"

struct RecordingView : PanelView {
    std::vector<std::string> calls;
    std::array<std::string, kDigitBoxes> digits[2];
    std::string stepCaption;
    int litStep = -2;
    int filterWidth = 0;
    std::string filterName;
    void ShowDigits(int vfo, const std::array<std::string, kDigitBoxes>& boxes) override {
        digits[vfo] = boxes;
        calls.push_back("digits" + std::to_string(vfo));
    }
    void ShowStepCaption(const std::string& text) override { stepCaption = text; }
    void LightStepButton(int button) override { litStep = button; }
    void ShowFilterName(const std::string& name) override { filterName = name; }
    void SetFilterGraphicWidth(int hz) override { filterWidth = hz; }
    void LightBandButton(int row) override { calls.push_back("band" + std::to_string(row)); }
    void ShowMeter(int value, int type) override {
        calls.push_back("meter " + std::to_string(value) + "," + std::to_string(type));
    }
    void ShowMeterPeak(int peak, int type) override {
        calls.push_back("peak " + std::to_string(peak) + "," + std::to_string(type));
    }
    void SetTransmitColour(int vfo, bool on) override {
        calls.push_back("tx" + std::to_string(vfo) + (on ? "on" : "off"));
    }
};

struct RecordingFrame : plat::Window {
    std::vector<unsigned> commands;
    bool OnCommand(unsigned id, unsigned, plat::LPARAM) override {
        commands.push_back(id);
        return true;
    }
    int Count(unsigned id) const {
        int n = 0;
        for (unsigned c : commands) n += c == id;
        return n;
    }
};
