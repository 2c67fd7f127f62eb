// Starts build/qarv as a separate process in a test directory, headless or
// on a given X display.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

class ProgramRunner {
public:
    // Starts the program in `dir` (its working directory).
    explicit ProgramRunner(const std::string& dir);
    // The same on the X display `display` (":N") instead of headless.
    ProgramRunner(const std::string& dir, const std::string& display);
    // Headless, with its standard error on `stderrFd` instead of /dev/null.
    ProgramRunner(const std::string& dir, int stderrFd);
    // Headless, started through `wrapper` (a command and its arguments that
    // run the rest of the command line, such as setpriv), stderr on `stderrFd`.
    ProgramRunner(const std::string& dir, int stderrFd, const std::vector<std::string>& wrapper);
    ~ProgramRunner();
    pid_t pid() const { return pid_; }
    // Waits until `file` in the directory contains `text`; false after `ms`.
    bool WaitForText(const std::string& file, const std::string& text, int ms) const;
    // Sends `sig` and waits for the exit; returns the exit status, or -1 when
    // it did not end within `ms` (it is then killed).
    int StopWith(int sig, int ms);

    // Waits until the program catches `sig` (its handler is installed);
    // false after `ms`.
    bool WaitForHandler(int sig, int ms) const;
    // Sends `sig` and nothing else.
    void Signal(int sig) const;
    // Waits for the program to end by itself; the exit status, or -1 when it
    // still runs after `ms`.
    int WaitExit(int ms);

private:
    void Start(const std::string& display, int stderrFd = -1, const std::vector<std::string>& wrapper = {});
    std::string dir_;
    pid_t pid_ = -1;
};
