// The radio window's level sliders: their ids (each slider's id is also the
// number of the message it sends), ranges and the rules that turn a slider
// position into a level and a wheel click into a new position.
#pragma once
#include <string>

constexpr int IDC_SLIDER_VOLUME_A = 2360;
constexpr int IDC_SLIDER_VOLUME_B = 441;  // VFO B volume or balance
constexpr int IDC_SLIDER_POWER = 725;
constexpr int IDC_SLIDER_KEYER = 726;
constexpr int IDC_SLIDER_RF_GAIN = 2359;  // main, or the sub receiver's with the sub sliders
constexpr int IDC_SLIDER_RF_GAIN_B = 2600;
constexpr int IDC_SLIDER_SQUELCH = 2387;
constexpr int IDC_SLIDER_NB = 1544;
constexpr int IDC_SLIDER_NR = 563;
constexpr int IDC_SLIDER_AGC_VR = 2510;
constexpr int IDC_SLIDER_NOTCH = 2511;
constexpr int IDC_SLIDER_APF = 2514;
constexpr int IDC_SLIDER_DIGISEL = 2625;

// Value labels under the APF and NB sliders.
constexpr int IDC_APF_HZ_LABEL = 9321;
constexpr int IDC_NB_LEVEL_LABEL = 9322;

// The radio window asks the main frame to send the sub receiver's volume.
constexpr unsigned IDC_SUB_VOLUME = 1226;

// A volume slider below this is silence.
constexpr int kVolumeFloor = 13;

struct SliderLimits {
    int low, high;
};
// Levels 0..255, the percentages (power, RF gain) 0..100, keyer speed 0..15.
SliderLimits SliderLimitsOf(int id);

// Slider position to level: volumes below kVolumeFloor are 0; power above
// 96 % is full power.
int VolumeFromSlider(int value);
int PowerFromSlider(int value);
int PowerSliderValue(int power);
// The APF centre's offset in Hz for a slider position (128 is the centre).
std::string ApfHzText(int position);
// The slider position after `clicks` wheel clicks (positive up) from `value`.
int WheelSliderValue(int id, int value, int clicks);
