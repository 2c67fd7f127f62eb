// Command ids of the main frame (WM_COMMAND), shared by menus, accelerators,
// the control bar and the windows that talk to the main frame.
#pragma once

enum MainCommand : unsigned {
    // Windows that notify the main frame (the radio window's own commands,
    // 1213, 1408 and 32000, are in panel/swl_panel.h).
    IDC_TRANSCEIVER_SETTINGS = 2367,

    // File menu.
    ID_FILE_NEW = 40016,
    ID_FILE_OPEN = 500,
    ID_FILE_CLOSE = 501,
    ID_FILE_SAVE = 502,
    ID_FILE_SAVE_AS = 503,
    ID_FILE_QUIT = 505,
    ID_FILE_IMPORT = 557,
    ID_FILE_EXPORT = 558,
    ID_SAVE_RADIO_MEMORIES = 2476,
    ID_RESTORE_RADIO_MEMORIES = 2477,
    ID_ABORT_RADIO_MEMORIES = 2478,

    // View menu and window toggles.
    ID_VIEW_ALWAYS_ON_TOP = 40009,
    ID_VIEW_RADIO = 40010,
    ID_VIEW_SPECTRUM = 40012,
    ID_VIEW_MEMORIES = 40013,
    ID_VIEW_CONTROL_BAR = 40015,
    ID_VIEW_CIV_MONITOR = 40017,
    ID_VIEW_SETTINGS = 40021,
    ID_VIEW_SETTINGS_BAR = 513,
    ID_TOGGLE_CALL_LOOKUP = 506,
    ID_TOGGLE_MIRROR = 510,
    ID_TOGGLE_SP_MEMORY = 6127,
    ID_TOGGLE_WAVENODE = 6143,
    ID_TOGGLE_DSTAR = 6144,
    ID_TOGGLE_RECALL_MEMORY = 2531,

    // Help.
    ID_HELP_DOCUMENT = 7510,
    ID_HOT_KEYS = 172,

    // Keys.
    ID_MONITOR_CLEAR = 1237,
    IDC_MONITOR_SENT = 3059,
    IDC_MONITOR_RECEIVED = 3243,
    IDC_STATUS_TEXT = 1244,
    ID_STEP_DOWN = 127,
    ID_STEP_UP = 128,
    ID_HOTKEY_AM = 100,
    ID_HOTKEY_USB = 101,
    ID_HOTKEY_LSB = 102,
    ID_HOTKEY_CW = 103,
    ID_HOTKEY_FM = 105,
    ID_HOTKEY_RTTY = 106,
    ID_HOTKEY_PSK = 508,
    ID_COPY_A_TO_B = 225,
    ID_SWAP_AB = 229,
    ID_TOGGLE_SPLIT = 122,
    ID_CYCLE_ATTENUATOR = 126,
    ID_VOLUME_UP = 112,
    ID_VOLUME_UP_KEY = 223,
    ID_VOLUME_DOWN = 113,
    ID_VOLUME_DOWN_KEY = 222,
    ID_HOME_KEY = 5064,
    ID_STATION_LOG_TEXT = 1533,
    ID_QUIT_KEY = 115,
    ID_MUTE = 114,
    ID_SPEECH_PROCESSOR = 509,
    ID_PTT_TOGGLE = 5017,
    ID_CW_KEYBOARD = 5019,
    ID_CW_MEMORY_1 = 5020,  // .. 5024
    ID_CW_SEND_TOGGLE = 641,
    ID_CW_ID_NOW = 1229,
    ID_BAND_CW_FIRST = 40022,   // Ctrl+F1.. (40022-40030)
    ID_BAND_SSB_FIRST = 40122,  // Shift+F1.. (40122-40130)
};

// Child window ids of the main frame.
enum ChildWindowId : int {
    IDW_SWEEP = 1213,
    IDW_RADIO = 1213,
    IDW_SETTINGS = 2367,
    IDW_CONTROL_BAR = 1223,
    IDW_CIV_MONITOR = 2126,
    IDW_STATIONS = 1400,
    IDW_CALL_LOOKUP = 2389,
    IDW_CW_KEYBOARD = 2502,
    IDW_WAVENODE = 2529,
    IDW_DSTAR = 1542,
    IDW_RECALL_MEMORY = 2530,
    IDW_MEMORY_FILE_NAME = 2527,
    IDW_MIRROR = 4500,
    IDW_SP_MEMORY = 6133,
};
