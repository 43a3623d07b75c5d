// A stand-in for the map compilers and the game: copied into a maps folder
// as qbsp3, qvis3 and qrad3 (and into a game folder as quake2), it appends
// to calls.log beside itself its name, "in " and its current folder, and
// its arguments, one per line, all in UTF-8, with an empty line after each
// call, so a test can see that a batch file really ran it, where, and with
// what. BRUSHWRIGHT_STANDIN_<name> (the name it runs as, e.g.
// BRUSHWRIGHT_STANDIN_qbsp3) makes it behave as a compiler may: "exit=N",
// "signal" (ends itself with SIGKILL), "leak" (prints qbsp3's leak line),
// "pointfile" (writes leak.lin, exits 0), "occupant" (ericw-tools' leak:
// names the entity, writes box.pts, exits 0), "badswitch" (ericw-tools' parse
// error, exits 0), "flood=N" (N lines as fast as it can), "binary" (bytes
// that are no UTF-8), "longline=N" (N bytes without a line end), "hang"
// (starts a child that hangs too and writes its id to child.pid, then
// hangs).
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
#else
#include <unistd.h>
#endif
#include <thread>

namespace {

void hang()
{
#ifndef _WIN32
    const pid_t child = fork();
    if (child > 0)
        std::ofstream("child.pid") << child << '\n';
#else
    std::ofstream("child.pid") << 0 << '\n';
#endif
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}

int behave(const std::string& how)
{
    const auto number = [&how] {
        return std::strtoll(how.c_str() + how.find('=') + 1, nullptr, 10);
    };
    if (how.rfind("exit=", 0) == 0)
        return int(number());
    if (how == "signal") {
#ifdef SIGKILL
        // Uncatchable: a sanitizer's handler would turn SIGSEGV into an exit.
        std::raise(SIGKILL);
#else
        std::raise(SIGSEGV);
#endif
    }
    if (how == "leak")
        std::printf("writing leak.lin\n**** leaked ****\n");
    if (how == "pointfile")
        std::ofstream("leak.lin") << "0 0 0\n";
    if (how == "occupant") {
        std::printf("WARNING: Reached occupant \"light\" at (0 0 160), no filling performed.\n"
                    "Leak file written to box.pts\n");
        std::ofstream("box.pts") << "0 0 160\n-284 -272 -20\n";
    }
    if (how == "badswitch")
        std::printf(
            "usage: qbsp [options] mapname\nERROR OCCURRED WHEN TRYING TO PARSE ARGUMENTS:\n");
    if (how.rfind("flood=", 0) == 0) {
        static const char line[] = "flood line: the quick brown fox jumps over the lazy dog 0123\n";
        for (long long i = number(); i > 0; --i)
            std::fwrite(line, 1, sizeof line - 1, stdout);
    }
    if (how == "binary")
        std::fwrite("\xff\xfe\0\x1b[2J\xc3(\x80 text\n", 1, 16, stdout);
    if (how.rfind("longline=", 0) == 0) {
        const std::string block(1 << 16, 'x');
        for (long long left = number(); left > 0; left -= 1 << 16)
            std::fwrite(block.data(), 1, size_t(std::min(left, 1LL << 16)), stdout);
    }
    if (how == "hang") {
        std::fflush(stdout);
        hang();
    }
    return 0;
}

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
    log.close();
    const char* how = std::getenv(("BRUSHWRIGHT_STANDIN_" + self.stem().string()).c_str());
    return how ? behave(how) : 0;
}
