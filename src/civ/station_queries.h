// What the engine asks of the station above it: the remote link's gates,
// the tuner, the station list, CAT-out. The engine cannot call those
// subsystems, so the program registers one answerer at start-up; without
// it every answer is the one an idle station gives.
#pragma once

class StationQueries {
public:
    virtual ~StationQueries() = default;
    // A logged-on client operates the radio through this server: local
    // CI-V keeps quiet and radio frames go to the client.
    virtual bool RemoteOperatorActive() { return false; }
    // An operator client is connected and logged on.
    virtual bool RemoteClientReady() { return false; }
    // CAT-out port `port` (1..5) is open.
    virtual bool CatOutPortOpen(int /*port*/) { return false; }
    // The LDG tuner keys the radio itself with its RTS pulse.
    virtual bool TunerKeysRadio() { return false; }
    // A control surface shows the radio's meter (the TMate2 is open).
    virtual bool SurfaceMeterShown() { return false; }
    // The station list has stations to scan.
    virtual bool HasStations() { return false; }
};

void SetStationQueries(StationQueries* answerer);  // null: the idle answers
StationQueries& Ask();
