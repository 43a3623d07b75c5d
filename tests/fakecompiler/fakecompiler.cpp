// A stand-in for the map compilers: copied into a maps folder as qbsp3,
// qvis3 and qrad3, it appends its name and arguments to calls.log beside
// itself (one per line, an empty line after each call), so a test can see
// that a batch file really ran it and with what.
#include <filesystem>
#include <fstream>

int main(int argc, char* argv[])
{
    namespace fs = std::filesystem;
    const fs::path self = fs::absolute(fs::path(argv[0]));
    std::ofstream log(self.parent_path() / "calls.log", std::ios::app | std::ios::binary);
    log << self.stem().string() << '\n';
    for (int i = 1; i < argc; ++i)
        log << argv[i] << '\n';
    log << '\n';
    return 0;
}
