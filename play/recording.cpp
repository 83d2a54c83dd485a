#include "play/recording.h"

#include "play/script.h"
#include "puzzle/controller/commands.h"
#include "puzzle/rules/generator.h"
#include "puzzle/rules/task_code.h"

namespace vokta::play {

namespace {

// A path as load reads it back: in double quotes where it holds a '#' or
// begins or ends with a blank.
std::string scriptPath(const std::string& path)
{
    const bool plain = path.find('#') == std::string::npos && !path.empty() && path.front() != ' ' &&
        path.back() != ' ' && path.front() != '"';
    return plain ? path : '"' + path + '"';
}

std::string loadLine(const ChosenFile& file)
{
    const std::optional<TaskRequest> made = file.bytes ? taskRequestNamed(file.path) : std::nullopt;
    if (!made)
        return "load " + scriptPath(file.path);
    if (made->kind == TaskRequest::Kind::Daily)
        return "daily " + dateText(made->date);
    return "generate " + std::string(difficultyName(made->difficulty)) + ' ' + std::to_string(made->seed);
}

}  // namespace

Recorder::Recorder(std::FILE* out) : out_(out) {}

Recorder::~Recorder()
{
    flush();
}

void Recorder::setup(unsigned seed)
{
    writeLine("setup " + std::to_string(seed));
}

void Recorder::size(int width, int height)
{
    if (width == width_ && height == height_)
        return;
    width_ = width;
    height_ = height;
    writeLine("size " + std::to_string(width) + ' ' + std::to_string(height));
}

void Recorder::message(const WindowMessage& message)
{
    using Kind = WindowMessage::Kind;
    if (message.kind == Kind::Timer) {
        writePendingKey(0);
        ++pendingTicks_;
        return;
    }
    if (message.kind == Kind::Char) {
        // Only digits do anything as characters; a key's own character goes
        // with the key, as vokta-play types it.
        if (pendingKey_) {
            writePendingKey(message.character);
        } else if (message.character >= '0' && message.character <= '9') {
            writeLine(std::string("char ") + message.character);
        }
        return;
    }
    writePendingKey(0);
    const std::string at =
        ' ' + std::to_string(message.x) + ' ' + std::to_string(message.y) + ' ' + buttonsName(message.keys);
    switch (message.kind) {
    case Kind::KeyDown: pendingKey_ = message; break;
    case Kind::KeyUp: writeLine("keyup " + std::string(keyName(message.key, 0))); break;
    case Kind::ButtonDown: writeLine("press" + at); break;
    case Kind::ButtonUp: writeLine("release" + at); break;
    case Kind::MouseMove: writeLine("move" + at); break;
    case Kind::DoubleClick: writeLine("dblclick" + at); break;
    case Kind::Command:
        // A task file loaded through Load... or the library is written as
        // the file itself, so that the script replays without a dialog; a
        // made task, which has no file, as what it was made from; a task
        // opened from its code, as the code.
        if (message.file && message.file->bytes && message.command == Command::Load &&
            message.file->path.starts_with(kTaskLinkScheme))
            writeLine("code " + message.file->path.substr(kTaskLinkScheme.size()));
        else if (message.file && (message.command == Command::Load || message.command == Command::Library))
            writeLine(loadLine(*message.file));
        else
            writeLine("command " + scriptCommandName(message.command));
        break;
    case Kind::Char:
    case Kind::Timer: break;
    }
}

void Recorder::flush()
{
    writePendingKey(0);
    writePendingTicks();
    std::fflush(out_);
}

void Recorder::writeLine(const std::string& line)
{
    writePendingTicks();
    std::fputs(line.c_str(), out_);
    std::fputc('\n', out_);
}

void Recorder::writePendingTicks()
{
    if (pendingTicks_ == 0)
        return;
    std::fprintf(out_, "tick %llu\n", static_cast<unsigned long long>(pendingTicks_));
    pendingTicks_ = 0;
}

void Recorder::writePendingKey(char typed)
{
    if (!pendingKey_)
        return;
    const WindowMessage key = *pendingKey_;
    pendingKey_.reset();
    // A digit key types its digit as it goes down; any other digit typed
    // (none that a keyboard sends, but nothing that selects is dropped)
    // follows as a character of its own.
    const bool digit = typed >= '0' && typed <= '9';
    const bool typedWithKey = digit && key.key == Key::Other;
    writeLine("keydown " + keyName(key.key, typedWithKey ? typed : 0) + (key.shift ? " shift" : ""));
    if (digit && !typedWithKey)
        writeLine(std::string("char ") + typed);
}

}  // namespace vokta::play
