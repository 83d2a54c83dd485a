#include "platform/files.h"

#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace vokta {

std::filesystem::path pathFromUtf8(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string utf8FromPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::FILE* openFile(const std::string& utf8Path, const char* mode)
{
#ifdef _WIN32
    const std::wstring name = pathFromUtf8(utf8Path).native();
    // The C library's fopen knows no "x": create the file exclusively by
    // hand and wrap it in a stream.
    if (std::strchr(mode, 'x') != nullptr) {
        const int flags = _O_WRONLY | _O_CREAT | _O_EXCL | (std::strchr(mode, 'b') ? _O_BINARY : _O_TEXT);
        const int descriptor = _wopen(name.c_str(), flags, _S_IREAD | _S_IWRITE);
        if (descriptor < 0)
            return nullptr;
        std::FILE* file = _fdopen(descriptor, std::strchr(mode, 'b') ? "wb" : "w");
        if (file == nullptr)
            _close(descriptor);
        return file;
    }
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(name.c_str(), wideMode.c_str());
#else
    return std::fopen(utf8Path.c_str(), mode);
#endif
}

}  // namespace vokta
