// A stand-in for the map compilers and the game: copied into a maps folder
// as qbsp3, qvis3 and qrad3 (and into a game folder as quake2), it appends
// to calls.log beside itself its name, "in " and its current folder (in
// UTF-8), and its arguments, one per line, with an empty line after each
// call, so a test can see that a batch file really ran it, where, and with
// what.
#include <filesystem>
#include <fstream>

int main(int argc, char* argv[])
{
    namespace fs = std::filesystem;
    const fs::path self = fs::absolute(fs::path(argv[0]));
    std::ofstream log(self.parent_path() / "calls.log", std::ios::app | std::ios::binary);
    const auto utf8 = fs::current_path().u8string();
    log << self.stem().string() << '\n';
    log << "in " << std::string(utf8.begin(), utf8.end()) << '\n';
    for (int i = 1; i < argc; ++i)
        log << argv[i] << '\n';
    log << '\n';
    return 0;
}
