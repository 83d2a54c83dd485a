#include "platform/program.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#endif

#include "platform/files.h"

namespace vokta {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
std::string utf8FromWide(const wchar_t* text)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.pop_back();  // the terminating NUL
    return utf8;
}
#endif

// The executable's own path as the system knows it; empty when it cannot say.
fs::path executablePath()
{
    std::error_code error;
#ifdef _WIN32
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);
    }
    const fs::path path = fs::weakly_canonical(fs::path(name), error);
    return error ? fs::path(name) : path;
#else
    const fs::path path = fs::canonical("/proc/self/exe", error);
    return error ? fs::path() : path;
#endif
}

}  // namespace

fs::path programDirectory(std::string_view argv0)
{
    fs::path program = executablePath();
    if (program.empty()) {
        std::error_code error;
        program = fs::weakly_canonical(fs::absolute(pathFromUtf8(argv0), error), error);
    }
    return program.parent_path();
}

std::vector<fs::path> modelDirectoryCandidates(const fs::path& programDirectory)
{
    return {programDirectory, (programDirectory / VOKTA_RELATIVE_DATA_DIR).lexically_normal()};
}

fs::path findModelDirectory(const std::vector<fs::path>& candidates, std::string_view modelFileName)
{
    for (const fs::path& directory : candidates) {
        std::error_code error;
        if (fs::is_regular_file(directory / pathFromUtf8(modelFileName), error))
            return directory;
    }
    return {};
}

std::vector<std::string> utf8Arguments(int argc, char* argv[])
{
#ifdef _WIN32
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        std::vector<std::string> arguments;
        for (int i = 0; i < count; ++i)
            arguments.push_back(utf8FromWide(wide[i]));
        LocalFree(wide);
        if (count == argc)
            return arguments;
    }
#endif
    return std::vector<std::string>(argv, argv + argc);
}

void useBinaryStandardStreams()
{
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

}  // namespace vokta
