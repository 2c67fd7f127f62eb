#include "devices/device_events.h"

#include <cstdint>

#include "base/device_options.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "devices/band_decoder.h"
#include "devices/cat_out.h"
#include "devices/control_surfaces.h"
#include "devices/cw_keyer.h"
#include "devices/external_meters.h"
#include "devices/keying.h"
#include "devices/keypad_pod.h"
#include "devices/program_links.h"
#include "devices/remote_link.h"
#include "devices/station_outputs.h"
#include "devices/tuner.h"

namespace {
class Devices final : public EngineListener {
public:
    void AntennaFrequency(double mhz) override { SelectAntennaForFreq(mhz); }
    void BandChanged() override { SendBandData(); }
    void SecondReceiverChanged() override { SendMultiRxToTHP(); }
    void SecondReceiverMute(int how) override { MuteSecondReceiver(how); }
    void CatOutText(const std::uint8_t* text, int length, bool allPorts) override {
        if (allPorts) g_activethp = 0;
        SendToTHP(text, length);
    }
    bool DualFrequencyFile() override { return WriteDualFile(); }
    void RadioInitialising() override { ForgetDualFileVfoB(); }

    void KeyOn() override { keyon(); }
    void KeyOff() override { keyoff(); }
    void PttRequest(int on) override { KeyOnOff(on); }
    void KeyerSpeed(int wpm, int weight) override { kstats(wpm, weight); }
    void TuneStarting() override { ClearTuneResults(); }

    void PollStationMeters() override {
        if (g_powermeterport != plat::kInvalidPort) {
            if (g_wattmetertype == 3) {
                SendPowerMasterRequest();
            } else if (g_wattmetertype != 0) {
                // The LP-100A answers a poll with one ';' record.
                const std::uint8_t poll = 'P';
                SendToPowerMeter(&poll, 1);
            }
        }
        if (g_lp500) PollLP500();
        // Only once the keypad-pod line has shown it carries the receiver.
        if (g_pegasusport != plat::kInvalidPort && g_podstate == kPodCarriesReceiver) {
            const std::uint8_t smeter[3] = {'?', 'S', '\r'};
            SendToRX331(smeter, 3);
        }
    }
    void SurfaceMeter(int value) override { ShowTMate2Smeter(value); }

    void FrameToPartner(const std::uint8_t* frame, int length) override { sendtopartner(frame, length, kMsgCivFrame); }
};
}  // namespace

EngineListener& DeviceEvents() {
    static Devices devices;
    return devices;
}
