// qarv-ini: reads or writes one key of a settings file with the program's own
// profile code, for scripts.
//   qarv-ini FILE SECTION KEY          prints the value (empty when missing)
//   qarv-ini FILE SECTION KEY VALUE    writes it (the file is replaced atomically)
#include <cstdio>
#include <string>

#include "platform/profile.h"

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: qarv-ini FILE SECTION KEY [VALUE]\n");
        return 2;
    }
    if (argc == 4) {
        std::printf("%s\n", plat::ProfileReadString(argv[2], argv[3], "", argv[1]).c_str());
        return 0;
    }
    return plat::ProfileWriteString(argv[2], argv[3], argv[4], argv[1]) ? 0 : 1;
}
