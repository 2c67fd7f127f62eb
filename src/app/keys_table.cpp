#include "app/keys_table.h"

#include "platform/keys.h"

namespace {
using plat::FALT;
using plat::FCONTROL;
using plat::FSHIFT;
using plat::FVIRTKEY;
constexpr unsigned V = FVIRTKEY;
constexpr unsigned VA = FVIRTKEY | FALT;
constexpr unsigned VC = FVIRTKEY | FCONTROL;
constexpr unsigned VS = FVIRTKEY | FSHIFT;
constexpr unsigned F(int n) { return plat::VK_F1 + unsigned(n - 1); }

// Table 601. Ctrl/Shift+F7..F9 are not in numeric order, and Shift+F4 has
// no entry: both as the operators know them.
constexpr plat::Accelerator kAccelerators[] = {
    {VA, 'A', 100},   {VA, 'C', 103},   {VA, 'F', 105},    {VA, 'L', 102},    {VA, 'M', 114},
    {VA, 'N', 2531},  {VA, 'U', 101},   {FALT, ' ', 40143}, {V, plat::VK_DOWN, 127},
    {V, F(1), 5020},  {V, F(2), 5021},  {V, F(3), 5022},   {V, F(4), 5023},   {V, F(5), 5024},
    {V, F(6), 615},   {V, F(7), 636},   {V, F(8), 637},    {V, F(9), 638},    {V, F(10), 639},
    {V, F(11), 640},  {V, F(12), 641},  {VS, plat::VK_LEFT, 5045}, {VC, plat::VK_LEFT, 222},
    {VA, plat::VK_LEFT, 40020}, {VS, plat::VK_RIGHT, 5046}, {VC, plat::VK_RIGHT, 223},
    {VA, plat::VK_RIGHT, 40019}, {V, plat::VK_UP, 128}, {VA, 'X', 115}, {VA, 'W', 507},
    {VA, 'P', 508},   {VA, 'Q', 5017},  {VA, 'K', 5019},   {VA, 'E', 509},    {VA, 'J', 6144},
    {FALT, '=', 225}, {FALT, '/', 229}, {VA, 'S', 122},    {VA, 'R', 106},    {VA, 'T', 126},
    {VA, 'H', 172},   {VA, 'G', 6100},  {VA, 'B', 6101},   {VA, 'I', 6102},   {VA, 'Y', 6103},
    {VA, 'V', 6127},  {VA, 'Z', 6143},
    {VC, F(1), 40022}, {VC, F(2), 40023}, {VC, F(3), 40024}, {VC, F(4), 40025}, {VC, F(5), 40026},
    {VC, F(6), 40027}, {VC, F(7), 40029}, {VC, F(8), 40030}, {VC, F(9), 40028},
    {VS, F(1), 40122}, {VS, F(2), 40123}, {VS, F(3), 40124}, {VS, F(5), 40126}, {VS, F(6), 40127},
    {VS, F(7), 40129}, {VS, F(8), 40130}, {VS, F(9), 40128},
    {V, plat::VK_HOME, 5064}, {V, plat::VK_PRIOR, 150}, {V, plat::VK_NEXT, 117},
    {VS, plat::VK_PRIOR, 5083}, {VS, plat::VK_NEXT, 5084},
};


}  // namespace

std::span<const plat::Accelerator> MainAccelerators() { return kAccelerators; }

const char* HotKeysText() {
    return "<Up-Arrow>         Increase Step Size\n"
           "<Down-Arrow>       Decrease Step Size\n"
           "<Left-Arrow>       Tune Down\n"
           "<Right-Arrow>      Tune Up\n"
           "<Shft-Left-Arrow>  Fast Tune Down\n"
           "<Shft-Right-Arrow> Fast Tune Up\n"
           "<Ctl-Left-Arrow>   Decrease Speaker Volume\n"
           "<Ctl-Right-Arrow>  Increase Speaker Volume\n"
           "<->                     Decrease Speaker Volume\n"
           "<+>                    Increase Speaker Volume\n"
           "<Alt =>            A=B\n"
           "<Alt />            A/B\n"
           "<Alt-A>            AM Mode\n"
           "<Alt-C>            CW Mode\n"
           "<Alt-E>            Speech Proc\n"
           "<Alt-F>            FM Mode\n"
           "<Alt-J>            D-Star (9100 Only)\n"
           "<Alt-K>            CW Keyboard\n"
           "<Alt-L>            LSB Mode\n"
           "<Alt-M>            Mute Audio\n"
           "<Alt-N>            Recall Qarv Memory\n"
           "<Alt-Q>            PTT Toggle\n"
           "<Alt-P>            PSK Mode\n"
           "<Alt-R>            RTTY Mode\n"
           "<Alt-S>            Split\n"
           "<Alt-T>            ATTN\n"
           "<Alt-U>            USB Mode\n"
           "<Alt-V>            SP Memory\n"
           "<Alt-X>            Quit\n"
           "<Alt-Z>            Wave Node\n"
           "0 - 9              Begin Entering Frequency\n"
           "F1                 CW Keyboard Memory 1\n"
           "F2                 CW Keyboard Memory 2\n"
           "F3                 CW Keyboard Memory 3\n"
           "F4                 CW Keyboard Memory 4\n"
           "F5                 CW Keyboard Memory 5\n"
           "<Shift F1> to <Shift F9> SSB Band Buttons\n"
           "<Ctrl F1> to <Ctrl F9> CW Band Buttons\n";
}
