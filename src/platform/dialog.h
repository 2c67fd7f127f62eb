// Modal dialogs and the file dialogs. A dialog runs a nested loop (timers
// and posted messages keep being delivered) until EndDialog. Under test the
// dialogs are scripted: DoModal builds the dialog with its controls, hands
// it to the next pushed handler (which types and clicks on it) and returns
// what the handler ended it with; nothing waits for a person.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/window.h"

namespace plat {

class Dialog : public Window {
public:
    // Shows the dialog over `owner` at `r` and returns the code EndDialog
    // gave (IDOK, IDCANCEL ...). Without a person to answer (headless and
    // not scripted) it returns IDCANCEL at once; a close request (a signal,
    // Quit) ends it as IDCANCEL.
    int DoModal(Window* owner, const std::string& title, const Rect& r);
    void EndDialog(int code);
    bool Ended() const { return ended_; }

    // Builds the controls; runs once the window exists.
    virtual void OnInitDialog() {}
    // Closing the dialog's window cancels it.
    void OnClose() override { EndDialog(2); }
    // The keys every dialog answers: Escape is its Cancel (IDCANCEL, through
    // the dialog's own handling) and Enter presses its default button.
    void OnKeyDown(unsigned key, unsigned flags) override;
    // The id of the button Enter presses (drawn as the default one).
    virtual int DefaultButton() const { return IDOK; }

private:
    bool ended_ = false;
    int result_ = 0;
};

namespace dialog_script {
// From now on dialogs are answered by pushed handlers; a dialog without a
// handler left ends with IDCANCEL.
void Enable();
bool Enabled();
void PushHandler(std::function<void(Dialog&)> handler);
// Titles of the dialogs shown, in order.
const std::vector<std::string>& History();
void Clear();
}  // namespace dialog_script

// File dialogs. `filter` is "Text(*.ext)|*.ext|All files(*.*)|*.*||";
// `defExt` is added to a saved name without an extension. Returns false
// when cancelled.
bool FileOpenDialog(Window* owner, const std::string& defExt, const std::string& filter, const std::string& initial,
                    std::string& path);
bool FileSaveDialog(Window* owner, const std::string& defExt, const std::string& filter, const std::string& initial,
                    std::string& path);

namespace file_dialog_script {
// From now on file dialogs return the pushed answers; an empty answer, or
// none left, is a cancel.
void Enable();
void PushAnswer(const std::string& path);
// How many file dialogs were shown.
int Shown();
void Clear();
}  // namespace file_dialog_script

// Renders the window (with its children) into a PNG file; false when the
// window has no on-screen part or the file cannot be written.


}  // namespace plat
