// A stand-in for the map compilers and the game: copied into a maps folder
// as qbsp3, qvis3 and qrad3 (and into a game folder as quake2), it appends
// to calls.log beside itself its name, "in " and its current folder, and
// its arguments, one per line, all in UTF-8, with an empty line after each
// call, so a test can see that a batch file really ran it, where, and with
// what.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
// shellapi.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#endif

namespace {

// On Windows the arguments as the command line holds them, not as argv has
// them in the ANSI code page, which may lack their characters.
std::vector<std::string> arguments(int argc, char* argv[])
{
#ifdef _WIN32
    (void)argc;
    (void)argv;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 1; i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(size_t(size > 0 ? size - 1 : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), size, nullptr, nullptr);
        result.push_back(text);
    }
    LocalFree(wide);
    return result;
#else
    return {argv + 1, argv + argc};
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    namespace fs = std::filesystem;
    const fs::path self = fs::absolute(fs::path(argv[0]));
    std::ofstream log(self.parent_path() / "calls.log", std::ios::app | std::ios::binary);
    const auto utf8 = fs::current_path().u8string();
    log << self.stem().string() << '\n';
    log << "in " << std::string(utf8.begin(), utf8.end()) << '\n';
    for (const std::string& argument : arguments(argc, argv))
        log << argument << '\n';
    log << '\n';
    return 0;
}
