// Links to logging programs: the logger automation object.
#pragma once

namespace plat {
class Window;
}

class CWLInterface {
public:
    explicit CWLInterface(plat::Window* panel);
    ~CWLInterface();
    // Registers the object for one more radio port.
    void RegisterForPort(int port);
    plat::Window* panel() const { return panel_; }

private:
    plat::Window* panel_;
};

void ExchangePegasusFiles();
void ReadDualFile();
void SendRadioInfo();
void OpenGorvSocket();
extern int g_exchangenewdata;  // the exchange has new data
// Forgets the VFO B frequency last written to the exchange file, so the next
// write carries it again (built with the program links).
void ForgetDualFileVfoB();
