// The close sequence: WM_CLOSE (step 1) asks what to keep and quietens the
// radio, close2 on TIMER_CLOSE2 saves the settings and restores the radio's
// filters, and the exit step on TIMER_EXIT closes the ports and windows.
#include "app/close_sequence.h"
#include "panel/radio_window.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/app_options.h"
#include "app/main_frame.h"
#include "app/settings_load.h"
#include "base/band_files.h"
#include "base/device_options.h"
#include "base/memory_options.h"
#include "base/settings_store.h"
#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/radio_search.h"
#include "civ/reply_processing.h"
#include "devices/cat_out.h"
#include "devices/control_surfaces.h"
#include "devices/cw_keyboard.h"
#include "devices/flex_knob.h"
#include "devices/keyer.h"
#include "devices/keying.h"
#include "devices/remote_link.h"
#include "devices/switches.h"
#include "devices/tuner.h"
#include "devices/wave_panel.h"
#include "memories/memory_windows.h"
#include "memories/recall_panels.h"
#include "memories/stations.h"
#include "memories/sweep.h"
#include "memories/sweep_panel.h"
#include "panel/mirror_panel.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/message_box.h"
#include "platform/serial_port.h"

namespace {
int NoMute() { return plat::IDNO; }

int AskMute() {
    return plat::MessageBox(g_mainwin, " Mute Receiver Audio on Exit ?", "Exit",
                            plat::MB_YESNOCANCEL | plat::MB_ICONQUESTION);
}
}  // namespace

int MuteDecision(int muteAlways, bool radioServer, int fileAnswer, int (*askMute)()) {
    if (muteAlways == 0) return 1;
    if (muteAlways == 1) return 0;
    if (radioServer) return fileAnswer == plat::IDYES ? 1 : 0;
    const int a = askMute();
    if (a == plat::IDCANCEL) return -1;
    return a == plat::IDYES ? 1 : 0;
}

int RestoreSlotCount(int radioType) {
    if (radioType == 5) return 10;
    if (radioType == 16 || radioType == 18) return 5;
    return 2;
}

char RestoreSlotMode(int slot) { return "0379403794"[slot % 10]; }

bool RestoreSlotUsesAmTable(int slot) { return slot % 5 == 4; }

// The sweep panel is shown and moved from the View menu and its own
// caption; what the operator left is what the next start shows.
void RecordSweepPanelPlace() {
    if (g_sweeppanel == nullptr || !g_sweeppanel->IsCreated()) return;
    g_sweepvisible = g_sweeppanel->IsWindowVisible() ? 1 : 0;
    const plat::Rect r = g_sweeppanel->GetNormalRect();
    std::snprintf(g_sweepplace, sizeof g_sweepplace, "%04d %04d", r.left, r.top);
}

void ReportSaveFailures() {
    const auto& failures = SaveFailures();
    if (failures.empty()) return;
    std::string text;
    bool lost = false;
    for (const SaveFailure& f : failures) {
        if (f.savedAs.empty()) {
            std::fprintf(stderr, "qarv: could not save %s: %s\n", f.file.c_str(), f.reason.c_str());
            text += "Could not save " + f.file + ":\n" + f.reason + ".\n";
            lost = true;
        } else {
            std::fprintf(stderr, "qarv: saved %s instead of %s: %s\n", f.savedAs.c_str(), f.file.c_str(),
                         f.reason.c_str());
            text += "Saved " + f.savedAs + " instead of " + f.file + ":\n" + f.reason + ".\n";
        }
    }
    std::fflush(stderr);
    plat::MessageBox(g_mainwin, text, lost ? "Error- Save Failed" : "Saved Elsewhere",
                     plat::MB_OK | plat::MB_ICONEXCLAMATION);
}

namespace {
// The transmit-off did not reach the radio's line by the end of the close.
std::string g_unreleased;
bool g_keyedatexit = false;

void ReportTransmitterKeyed() {
    std::fprintf(stderr, "qarv: the transmitter could not be released at close: %s\n", g_unreleased.c_str());
    std::fflush(stderr);
    // Headless, the line on stderr is all there is to say.
    if (!plat::app::Headless())
        plat::MessageBox(g_mainwin, "The transmitter could not be released:\n" + g_unreleased + ".\n",
                         "Error- Transmitter Keyed", plat::MB_OK | plat::MB_ICONEXCLAMATION);
}
}  // namespace

int CloseExitStatus() { return SaveFailures().empty() && !g_keyedatexit ? 0 : 1; }

unsigned ExitDelayMs(bool powerOff, bool digisel) { return powerOff ? 2000 : digisel ? 1200 : 500; }

void CMainWin::OnClose() {
    if (closed_ || closing_) return;
    WriteTrace("close1");
    // Nothing may hold the transmitter once the program starts to leave,
    // nor key it again while the close runs; a cancelled close gives keying
    // back.
    ReleaseAllKeying("close");
    HoldKeyingOff(true);
    struct CancelGivesKeyingBack {
        bool cancelled = true;
        ~CancelGivesKeyingBack() {
            if (cancelled) HoldKeyingOff(false);
        }
    } hold;
    FocusMainWindow();
    int fileAnswer = plat::IDNO;
    if (g_memmodified) {
        // Closed by a signal nobody can answer: keep the changes.
        fileAnswer = closeBySignal_ ? plat::IDYES
                                    : plat::MessageBox(this, std::string(g_memfilename) +
                                                                 " \n has been modified ... Accept Changes?",
                                                       "", plat::MB_YESNOCANCEL | plat::MB_ICONQUESTION);
        if (fileAnswer == plat::IDCANCEL) return;
        // The list goes only once it is safely on disk; a signal cannot wait
        // for a file dialog, so an unnamed list goes into a file of its own.
        if (fileAnswer == plat::IDYES) {
            if (closeBySignal_)
                SaveMemoryFileUnattended();
            else if (!OnFileSave())
                return;
        }
    }
    const int mute = MuteDecision(g_mutealways, g_radioserver != 0, fileAnswer, closeBySignal_ ? NoMute : AskMute);
    if (mute < 0) return;
    closing_ = true;
    hold.cancelled = false;
    KillTimer(TIMER_METER_CYCLE);
    if (mute) {
        if (g_perseus) {
            if (!g_muted) ToggleMute();
        } else if (!g_muted) {
            SetVolume(0);
        }
        if (!g_submuted) ToggleSubMute();
        if (g_dual && ModelCap(g_hassubreceiver)) {
            // The push takes dual watch from the panel: switched off there
            // too, it sends 07 C0 and leaves the sub receiver muted.
            g_dual = 0;
            if (g_swlpanel) g_swlpanel->dual = 0;
            SendFreqToRX340();
        }
    }
    GiveBackTxEnable();
    if (g_swlpanel) g_swlpanel->CloseLayout();
    if (g_yaltport != plat::kInvalidPort && g_yaltversion >= 20) {
        const std::uint8_t hostClose[2] = {0x00, 0x03};
        SendToYalt(hostClose, 2);
    }
    if (g_denkoviopen) {
        WriteDenkovi(0);
        plat::SleepMs(200);
        WriteTrace("Close Denkovi");
        CloseDenkovi();
    }
    WriteTrace("close1 set timer");
    SetTimer(TIMER_CLOSE2, 1);
}

void close2() {
    WriteTrace("close2");
    if (g_client) {
        CallIPSound(3);
        if (g_ipsoundstamp) {
            plat::SleepMs(500);
            CallIPSound(4);
        }
        DeleteIpSoundAtom();
    }
    if (g_delcomopen) CloseDelcom();
    WriteLdgFile();
    RecordMemoryWindowPlaces();
    RecordRecallPanelPlaces();
    RecordMirrorPanelPlace();
    RecordSweepPanelPlace();
    RecordWavePanelPlace();
    RecordRadioWindowPlace();
    // A search still running holds a port and rate it is only trying.
    StopRadioSearch();
    WriteTrace("calling saveoper\n");
    saveoper();
    WriteTrace("back from saveoper\n");
    ReportSaveFailures();
    if (!g_ic765 && !g_perseus) {
        const char noted = char(g_vfoamode);
        int remembered = 0;
        bool any = false;
        for (int i = 0; i < RestoreSlotCount(g_radiotype); ++i) {
            const int v = g_restore[i];
            const char mode = RestoreSlotMode(i);
            if (v != 41) {
                if (i < 5) {
                    WriteTrace("scr 4");
                    SelectVfo('A');
                } else {
                    g_selvfo = 'B';
                }
                SetRadioMode(mode, 41 - v);
                SetFilterWidthFromTable(41 - v, mode, RestoreSlotUsesAmTable(i));
                any = true;
            }
            if (mode == noted) remembered = v == 41 ? 0 : 41 - v;
        }
        g_selvfo = 'A';
        if (any) SetRadioMode(noted, remembered);
        g_lastsenta = g_lastsentb = 0;
        SetRadioFrequencies();
        g_closing = 1;
        SetRadioMode(noted, 1);
    }
    ClearStationList();
    FreeBandList();
    g_rttysegments = SegmentList{};
    g_ssbsegments = SegmentList{};
    if (g_flexopen) {
        const std::uint8_t off[5] = {'I', '0', '0', '0', ';'};
        SendToFlexKnob(off, 5);
    }
    if (g_tmate2open) CloseTMate2();
    if (g_mainwin) {
        if (g_poweronoff) SetRadioPower(0);
        g_mainwin->SetTimer(TIMER_EXIT, ExitDelayMs(g_poweronoff != 0, ModelCap(g_hasdigisel) != 0));
    }
    DestroyCwKeyboard();
}

void CMainWin::OnExitTimer() {
    KillTimer(TIMER_EXIT);
    KillTimer(TIMER_DEVICE_POLL);
    // The last chance for a transmit-off the pump could not write: once the
    // port is closed nothing can release the radio.
    g_keyedatexit = !TransmitterReleased(g_unreleased);
    if (g_keyedatexit) WriteTrace("transmitter not released: " + g_unreleased);
    plat::SerialClose(g_radioport);
    plat::SerialClose(g_pegasusport);
    if (g_yaltport != plat::kInvalidPort) {
        WriteTrace("Close Yalt");
        plat::SerialClose(g_yaltport);
    }
    plat::SerialClose(g_ldgport);
    CloseThpPorts();
    plat::SerialClose(g_flexport);
    if (g_flexopen) g_flexopen = 0;
    WriteTrace("Close 1");
    EndTraceFile();
    if (g_relayboards >= 1) setadr(1);
    if (g_relayboards >= 2) setadr(2);
    if (g_client || g_radioserver) ShutdownRemote();
    if (g_keyedatexit) ReportTransmitterKeyed();
    DestroyMainObjects();
    closed_ = true;
    if (g_timerwindow == this) g_timerwindow = nullptr;
    DestroyWindow();
    // A save that failed is not a clean end: scripts and service managers see it.
    plat::app::Quit(CloseExitStatus());
}

void DestroyMainObjects() {
    delete g_radiowindow;
    delete g_swlpanel;
    g_swlpanel = nullptr;
    DestroyWavePanel();
    DestroyMirrorPanel();
    DestroyRecallPanels();
    delete g_sweeppanel;
    g_sweeppanel = nullptr;
}

void OnQuit() {
    WriteTrace("Close 2");
    if (!g_mainwin) return;
    // Under an open box or menu (Alt+X reaches the frame there too) the close
    // waits until they have ended, or it would run beneath them and never end.
    if (plat::app::NestingDepth() == 0)
        g_mainwin->SendMessage(plat::WM_CLOSE);
    else
        plat::app::RequestClose(g_mainwin, 0);
}
